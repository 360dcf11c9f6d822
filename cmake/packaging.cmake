# Installation and packages: the program with its manual page, changelog and
# license as a Debian package on Linux, and with a guide for Windows users and the
# license as a ZIP archive on Windows. Everything takes its version from project().

set(TAMSEL_CONTACT "tamsel developers <dev@tamsel.invalid>")
set(package_files "${PROJECT_BINARY_DIR}/package")

if(WIN32)
  # A folder of three files: the program, a guide for its users as README.txt and
  # the license, the texts with the CR LF line ends Windows expects. The guide
  # takes its account of the menus from the README, without the Markdown marks.
  install(TARGETS tamsel RUNTIME DESTINATION .)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    "${PROJECT_SOURCE_DIR}/README.md" "${PROJECT_SOURCE_DIR}/LICENSE")
  file(READ "${PROJECT_SOURCE_DIR}/README.md" readme)
  set(heading "\n## Menus and filters\n\n")
  string(FIND "${readme}" "${heading}" menus_at)
  if(menus_at LESS 0)
    message(FATAL_ERROR "README.md has no section \"Menus and filters\" for the guide")
  endif()
  string(LENGTH "${heading}" heading_length)
  math(EXPR menus_at "${menus_at} + ${heading_length}")
  string(SUBSTRING "${readme}" ${menus_at} -1 TAMSEL_MENUS)
  string(FIND "${TAMSEL_MENUS}" "\n## " menus_end)
  string(SUBSTRING "${TAMSEL_MENUS}" 0 ${menus_end} TAMSEL_MENUS)
  string(REPLACE "`" "" TAMSEL_MENUS "${TAMSEL_MENUS}")
  configure_file(packaging/README-windows.txt.in "${package_files}/README-windows.txt" @ONLY)

  function(install_windows_text source target)
    file(READ "${source}" content)
    string(REPLACE "\n" "\r\n" content "${content}")
    file(WRITE "${package_files}/${target}" "${content}")
    install(FILES "${package_files}/${target}" DESTINATION .)
  endfunction()
  install_windows_text("${package_files}/README-windows.txt" README.txt)
  install_windows_text("${PROJECT_SOURCE_DIR}/LICENSE" LICENSE.txt)
  set(CPACK_GENERATOR ZIP)
else()
  include(GNUInstallDirs)
  install(TARGETS tamsel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

  # The license in the machine-readable copyright format: the permission notice,
  # each line indented by one space and an empty line written as " .".
  file(STRINGS "${PROJECT_SOURCE_DIR}/LICENSE" license_lines)
  set(TAMSEL_LICENSE_TEXT "")
  set(in_notice OFF)
  foreach(line IN LISTS license_lines)
    if(line MATCHES "^Permission is hereby granted")
      set(in_notice ON)
    endif()
    if(in_notice)
      if(line STREQUAL "")
        set(line ".")
      endif()
      string(APPEND TAMSEL_LICENSE_TEXT " ${line}\n")
    endif()
  endforeach()
  string(STRIP "${TAMSEL_LICENSE_TEXT}" TAMSEL_LICENSE_TEXT)
  set(TAMSEL_LICENSE_TEXT " ${TAMSEL_LICENSE_TEXT}")
  configure_file(packaging/copyright.in "${package_files}/copyright" @ONLY)
  configure_file(packaging/changelog.in "${package_files}/changelog" @ONLY)
  configure_file(doc/tamsel.1.in "${package_files}/tamsel.1" @ONLY)

  # Compressed as Debian wants them: the best compression, no name or time stamp.
  add_custom_command(
    OUTPUT "${package_files}/tamsel.1.gz" "${package_files}/changelog.gz"
    COMMAND gzip -9nkf tamsel.1 changelog
    WORKING_DIRECTORY "${package_files}"
    DEPENDS "${package_files}/tamsel.1" "${package_files}/changelog")
  add_custom_target(package_files ALL
    DEPENDS "${package_files}/tamsel.1.gz" "${package_files}/changelog.gz")
  install(FILES "${package_files}/tamsel.1.gz" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES "${package_files}/copyright" "${package_files}/changelog.gz"
    DESTINATION ${CMAKE_INSTALL_DOCDIR})

  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  # Dependencies as the program itself needs them, found by dpkg-shlibdeps.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()

set(CPACK_PACKAGE_NAME tamsel)
set(CPACK_PACKAGE_VENDOR "the tamsel developers")
set(CPACK_PACKAGE_CONTACT "${TAMSEL_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "character sheets from a game server's character save file")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "tamsel reads the character save file of an online role-playing game server (a\n"
  "text file, normally athena.txt, one character per line) and writes readable\n"
  "report files of character sheets: name, IDs, job by name, levels, experience,\n"
  "zeny, HP, SP, stats and unspent points. A server administrator picks every\n"
  "character, or those of one account, one job class or a range of zeny, at an\n"
  "interactive console or through answers fed on standard input. The save file is\n"
  "only ever read.")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
# The program ships without its debugging information.
set(CPACK_STRIP_FILES ON)
include(CPack)
