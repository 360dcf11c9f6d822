set(LINES 20000)
set(FINAL_FEED ON)
include("${CMAKE_CURRENT_LIST_DIR}/../../make_long_save.cmake")
