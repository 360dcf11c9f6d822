file(MAKE_DIRECTORY "${SCRATCH}/saves")
