# Runs one end-to-end case: the real program in a scratch folder, standard input
# from the case's `input`, then compares the console output and every report with
# the case's expected files byte for byte (NAME.same-as, holding the name of a file
# of the data folder, expects that file), checks that the save file is unchanged
# and that no file appeared that the case does not expect.
#
# -DEXE=program -DEMULATOR=runner-or-empty -DCASE=case-folder -DDATA=data-folder
# -DWORK=scratch-root [-DCRLF=ON: expected line feeds become CR LF first]
# [-DWINDOWS=ON: the program is the Windows one]. A case's own athena.txt replaces
# the shared one; its setup.cmake may prepare the scratch folder ${SCRATCH} further,
# name the save file otherwise (SAVE_NAME), as `windows-name` does, and write the
# typed answers (INPUT) and the expected console output (CONSOLE) where they depend
# on the scratch folder's place; a file
# `locale` in the case names the locale (LC_ALL) the program runs in, which sets
# Windows' code page.

cmake_minimum_required(VERSION 3.20)

get_filename_component(name "${CASE}" NAME)
set(SCRATCH "${WORK}/${name}")
file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}")
# A case may bring its own save file; most use the shared one.
set(SAVE "${DATA}/athena.txt")
if(EXISTS "${CASE}/athena.txt")
  set(SAVE "${CASE}/athena.txt")
endif()
file(COPY "${SAVE}" DESTINATION "${SCRATCH}")
set(SAVE_NAME athena.txt)
# A case whose save file has a name outside ASCII types that name first. The
# Windows program passes the typed bytes to the system in its ANSI code page, so
# Wine keeps the file under their Unicode name, which `windows-name` holds;
# elsewhere the typed bytes are the name itself.
if(EXISTS "${CASE}/windows-name")
  # Read whole: file(STRINGS) keeps only ASCII.
  set(name_source "${CASE}/input")
  if(WINDOWS)
    set(name_source "${CASE}/windows-name")
  endif()
  file(READ "${name_source}" names)
  string(REGEX MATCH "^[^\n]+" SAVE_NAME "${names}")
  file(RENAME "${SCRATCH}/athena.txt" "${SCRATCH}/${SAVE_NAME}")
endif()
set(INPUT "${CASE}/input")
set(CONSOLE "")
if(EXISTS "${CASE}/setup.cmake")
  include("${CASE}/setup.cmake")
endif()
# The save file as the program will find it, to prove afterwards that it is unchanged.
set(save_before "${WORK}/${name}.save")
configure_file("${SCRATCH}/${SAVE_NAME}" "${save_before}" COPYONLY)
file(GLOB_RECURSE before RELATIVE "${SCRATCH}" LIST_DIRECTORIES true "${SCRATCH}/*")

set(console "${WORK}/${name}.console")
set(environment "")
if(EXISTS "${CASE}/locale")
  file(STRINGS "${CASE}/locale" locale LIMIT_COUNT 1)
  set(environment "${CMAKE_COMMAND}" -E env "LC_ALL=${locale}")
endif()
execute_process(COMMAND ${environment} ${EMULATOR} "${EXE}"
  WORKING_DIRECTORY "${SCRATCH}"
  INPUT_FILE "${INPUT}"
  OUTPUT_FILE "${console}"
  ERROR_VARIABLE errors
  RESULT_VARIABLE status
  TIMEOUT 60)
if(NOT status STREQUAL "0")
  message(FATAL_ERROR "${name}: exit status ${status}, expected 0; standard error:\n${errors}")
endif()

set(failures "")
# Compares `actual` with the expected file `expected`; a mismatch shows both.
function(expect_same expected actual label)
  set(wanted "${expected}")
  if(CRLF)
    file(READ "${expected}" hex HEX)
    # Mark where each byte starts, so that only a whole byte 0a is replaced, never
    # the digits of two bytes that read "0a" across their border (20 a3).
    string(REGEX REPLACE "(..)" ":\\1" hex "${hex}")
    string(REPLACE ":0a" ":0d:0a" hex "${hex}")
    set(wanted "${WORK}/${name}.wanted")
    # Rebuild the bytes from the hex digits: text reads could lose NULs.
    string(REPLACE ":" "\\x" escaped "${hex}")
    execute_process(COMMAND printf "${escaped}" OUTPUT_FILE "${wanted}")
  endif()
  if(NOT EXISTS "${actual}")
    set(failures "${failures}\n${label}: missing" PARENT_SCOPE)
    return()
  endif()
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${wanted}" "${actual}"
    RESULT_VARIABLE differ)
  if(differ)
    file(READ "${wanted}" want_text)
    file(READ "${actual}" got_text)
    set(failures "${failures}\n${label} differs.\n--- expected:\n${want_text}\n--- actual:\n${got_text}"
      PARENT_SCOPE)
  endif()
endfunction()

# Where text mode changes what is read (a 0x1A ends the data), a case keeps the
# expectations of that platform in windows/, written with plain line feeds.
set(EXPECTED "${CASE}")
if(CRLF AND EXISTS "${CASE}/windows")
  set(EXPECTED "${CASE}/windows")
endif()
if(NOT CONSOLE)
  set(CONSOLE "${EXPECTED}/console.txt")
endif()
expect_same("${CONSOLE}" "${console}" "console output")
set(expected_names "")
if(EXISTS "${EXPECTED}/expected")
  file(GLOB expected_files RELATIVE "${EXPECTED}/expected" "${EXPECTED}/expected/*")
  foreach(report IN LISTS expected_files)
    set(wanted_file "${EXPECTED}/expected/${report}")
    # NAME.same-as names a file of the data folder that the report NAME must equal:
    # a report that several cases expect is kept there once.
    if(report MATCHES "^(.+)\\.same-as$")
      set(report "${CMAKE_MATCH_1}")
      file(STRINGS "${wanted_file}" shared LIMIT_COUNT 1)
      set(wanted_file "${DATA}/${shared}")
    endif()
    expect_same("${wanted_file}" "${SCRATCH}/${report}" "report ${report}")
    list(APPEND expected_names "${report}")
  endforeach()
endif()

# The save file must come out of every run exactly as it went in.
execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${save_before}" "${SCRATCH}/${SAVE_NAME}"
  RESULT_VARIABLE changed)
if(changed)
  set(failures "${failures}\nthe save file ${SAVE_NAME} was changed")
endif()

file(GLOB_RECURSE after RELATIVE "${SCRATCH}" LIST_DIRECTORIES true "${SCRATCH}/*")
foreach(entry IN LISTS after)
  if(NOT entry IN_LIST before AND NOT entry IN_LIST expected_names)
    set(failures "${failures}\nunexpected file created: ${entry}")
  endif()
endforeach()

if(failures)
  message(FATAL_ERROR "${name}:${failures}\nstandard error:\n${errors}")
endif()
