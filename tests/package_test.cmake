# Builds the Debian package from the build and checks that it holds the program, its
# manual page, changelog and copyright, then unpacks it and runs the packaged
# program once. (scripts/check-package holds it to Debian's own checks.)
# -DBUILD=build-folder -DDATA=data-folder -DWORK=scratch-folder
cmake_minimum_required(VERSION 3.20)
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/run")
execute_process(COMMAND "${CMAKE_CPACK_COMMAND}" -G DEB --config "${BUILD}/CPackConfig.cmake" -B "${WORK}"
  RESULT_VARIABLE status OUTPUT_VARIABLE log ERROR_VARIABLE log)
file(GLOB packages "${WORK}/*.deb")
if(NOT status EQUAL 0 OR NOT packages)
  message(FATAL_ERROR "cpack failed (${status}):\n${log}")
endif()
execute_process(COMMAND dpkg-deb -c ${packages} OUTPUT_VARIABLE listing RESULT_VARIABLE status)
foreach(entry "./usr/bin/tamsel" "./usr/share/man/man1/tamsel.1.gz"
    "./usr/share/doc/tamsel/copyright" "./usr/share/doc/tamsel/changelog.gz")
  string(FIND "${listing}" "${entry}" at)
  if(NOT status EQUAL 0 OR at EQUAL -1)
    message(FATAL_ERROR "the package lacks ${entry}:\n${listing}")
  endif()
endforeach()
execute_process(COMMAND dpkg-deb -x ${packages} "${WORK}/root" RESULT_VARIABLE status)
file(COPY "${DATA}/athena.txt" DESTINATION "${WORK}/run")
file(WRITE "${WORK}/input" "athena.txt 1 all.txt 3\n")
execute_process(COMMAND "${WORK}/root/usr/bin/tamsel" WORKING_DIRECTORY "${WORK}/run"
  INPUT_FILE "${WORK}/input" OUTPUT_VARIABLE output RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT output MATCHES "Successfully wrote 11 character\\(s\\) to \"all.txt\"")
  message(FATAL_ERROR "the packaged program did not run as expected (${status}):\n${output}")
endif()
