# The save file under a name outside ASCII, typed in Windows-1252 (bytes 0x96, 0x80
# and 0x9F, and a 0 before 0xA7 that reads "30a7" in hex). The Windows program
# passes the typed bytes to the system in its ANSI code page, so Wine keeps the file
# under their Unicode name; elsewhere the typed bytes are the name itself.
file(MAKE_DIRECTORY "${SCRATCH}/sub")
if(WINDOWS)
  set(SAVE_NAME "save–a0§€Ÿ.txt")
else()
  file(READ "${CASE}/input" typed)
  string(REGEX MATCH "^[^\n]+" SAVE_NAME "${typed}")
endif()
file(RENAME "${SCRATCH}/athena.txt" "${SCRATCH}/${SAVE_NAME}")
