# The save file under a Korean name typed in code page 949, the ANSI code page of a
# Korean Windows. The Windows program passes the typed bytes to the system in that
# code page, so Wine keeps the file under their Unicode name; elsewhere the typed
# bytes are the name itself.
if(WINDOWS)
  set(SAVE_NAME "백업.txt")
else()
  file(READ "${CASE}/input" typed)
  string(REGEX MATCH "^[^\n]+" SAVE_NAME "${typed}")
endif()
file(RENAME "${SCRATCH}/athena.txt" "${SCRATCH}/${SAVE_NAME}")
