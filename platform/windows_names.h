// Windows names read as text: the part of a name that names a file, and the names
// of named pipes. Pure functions, built and tested on every system; only the
// Windows file calls use them.
#ifndef TAMSEL_PLATFORM_WINDOWS_NAMES_H
#define TAMSEL_PLATFORM_WINDOWS_NAMES_H

#include <cstddef>

// The two functions below read a name as text in UTF-8, as the Windows file calls
// make it of a narrow name: no byte of a character in UTF-8 is a \, a / or a :,
// whereas in code pages 932, 936, 949 and 950 the second byte of one may be a \.

// The length of the part of `name` that names a file: on Windows the rest names a
// stream inside that file ("athena.txt:x", "C:athena.txt:x:$DATA"). The stream starts
// at the first colon of the last component (after the last \ or /), once a leading
// drive ("C:", also after a "\\?\" or "\\.\" prefix) is set aside; without one, the
// whole length.
std::size_t file_part_length(const char *name);

// True when `name` is that of a named pipe on Windows: "\\.\pipe\NAME",
// "\\?\pipe\NAME" or "\??\pipe\NAME" on this computer, "\\SERVER\pipe\NAME" or
// "\\?\UNC\SERVER\pipe\NAME" on one of the network, also through the system's other
// names for the pipe folder ("\\.\Global\pipe\", "\\?\GLOBALROOT\Device\NamedPipe\",
// "\\?\GLOBALROOT\??\pipe\"); the components in any case, / taken for \ (but in
// "\??\"). Only reads the text: ".." is not resolved.
bool names_a_pipe(const char *name);

#endif
