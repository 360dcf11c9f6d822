# The typed save-file name holds bytes 0x96, 0x80 and 0x9F of Windows-1252, and a
# 0 before 0xA7 that reads "30a7" in hex; sub/ lets it be spelled sub/../NAME.
file(MAKE_DIRECTORY "${SCRATCH}/sub")
