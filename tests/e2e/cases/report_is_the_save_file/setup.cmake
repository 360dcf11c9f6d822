file(MAKE_DIRECTORY "${SCRATCH}/sub")
file(CREATE_LINK athena.txt "${SCRATCH}/link.txt" SYMBOLIC)
file(CREATE_LINK "${SCRATCH}/athena.txt" "${SCRATCH}/hard.txt")
