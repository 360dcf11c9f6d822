# Installs the build into a scratch prefix, then runs the installed program once on
# a save file and checks its report, and that the manual page was installed.
# -DBUILD=build-folder -DDATA=data-folder -DWORK=scratch-folder
cmake_minimum_required(VERSION 3.20)
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/run")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${WORK}/prefix"
  RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "install failed: ${status}")
endif()
foreach(installed bin/tamsel share/man/man1/tamsel.1.gz share/doc/tamsel/copyright)
  if(NOT EXISTS "${WORK}/prefix/${installed}")
    message(FATAL_ERROR "not installed: ${installed}")
  endif()
endforeach()
file(COPY "${DATA}/athena.txt" DESTINATION "${WORK}/run")
file(WRITE "${WORK}/input" "athena.txt 2 1 acc.txt 150 3\n")
execute_process(COMMAND "${WORK}/prefix/bin/tamsel" WORKING_DIRECTORY "${WORK}/run"
  INPUT_FILE "${WORK}/input" OUTPUT_VARIABLE output RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT output MATCHES "Successfully wrote 2 character\\(s\\) to \"acc.txt\"")
  message(FATAL_ERROR "the installed program did not run as expected (${status}):\n${output}")
endif()
