set(LINES 10240)
set(FINAL_FEED OFF)
include("${CMAKE_CURRENT_LIST_DIR}/../../make_long_save.cmake")
