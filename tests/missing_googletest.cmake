# The test that stands in for the unit tests when GoogleTest is missing: it fails.
message(FATAL_ERROR "The unit tests were not built: GoogleTest is missing. Install it "
  "(Debian: apt-get install libgtest-dev) and configure the build folder again.")
