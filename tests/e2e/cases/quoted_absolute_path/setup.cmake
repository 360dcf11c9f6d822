# The save file in a folder whose name has a space, typed as an absolute path in
# quotes: on Windows as Explorer's "Copy as path" gives it (Wine's drive Z: is the
# root of this system), elsewhere as a shell would.
file(MAKE_DIRECTORY "${SCRATCH}/my saves")
file(RENAME "${SCRATCH}/athena.txt" "${SCRATCH}/my saves/athena.txt")
set(SAVE_NAME "my saves/athena.txt")
set(SAVE_PATH "${SCRATCH}/my saves/athena.txt")
if(WINDOWS)
  string(REPLACE "/" "\\" SAVE_PATH "Z:${SAVE_PATH}")
endif()
set(INPUT "${WORK}/${name}.input")
file(WRITE "${INPUT}" "\"${SAVE_PATH}\"\n3\n")
set(CONSOLE "${WORK}/${name}.expected")
configure_file("${CASE}/console.txt.in" "${CONSOLE}" @ONLY)
