file(CREATE_LINK athena.txt "${SCRATCH}/link.txt" SYMBOLIC)
