file(MAKE_DIRECTORY "${SCRATCH}/reports")
