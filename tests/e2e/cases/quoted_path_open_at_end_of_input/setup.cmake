file(MAKE_DIRECTORY "${SCRATCH}/my saves")
file(RENAME "${SCRATCH}/athena.txt" "${SCRATCH}/my saves/athena.txt")
set(SAVE_NAME "my saves/athena.txt")
