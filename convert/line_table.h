// The save file's lines, loaded into one block sized from the file: the lines packed
// end to end, an index of where each starts, and the values of every character line.
#ifndef TAMSEL_CONVERT_LINE_TABLE_H
#define TAMSEL_CONVERT_LINE_TABLE_H

#include <cstddef>
#include <cstdint>

#include "convert/conversion.h"
#include "convert/platform.h"

constexpr std::size_t kLineLimit = 6143; // characters a stored line keeps
constexpr std::size_t kPathSize = 1024;  // the save-file path: 1023 characters and a NUL

// Reads the whole save file at `path`, one stored line per line of the file: a line
// longer than kLineLimit is cut and its rest stored as the next line; a NUL ends a
// line's text. Frees what the previous load kept. Prints the count of character
// lines and of the file's lines that give no sheet (a cut line's pieces count as
// one line). A missing, unreadable or directory path, or one of kPathSize characters
// or more, prints the open error; a file whose lines the memory cannot hold prints
// that it is too large; both return false with nothing stored.
bool load_save_file(const char *path);

// Stored line `index` (0 to line_count() - 1, in file order), NUL-terminated.
const char *stored_line(std::int64_t index);
std::int64_t line_count();

// The values of character line `index` (0 to character_count() - 1, in file order),
// as scan_character_line read them; job_name is not filled in.
const CharacterRecord &stored_character(std::int64_t index);
std::int64_t character_count();

// The path of the last successful load (empty before it).
const char *save_file_path();

// The identity of the file the last successful load read, taken from the handle it
// was read through. False before a load, or when that file had none (a device).
bool save_file_identity(FileIdentity *identity);

// True when one of the lines in `bytes` (`size` bytes, as a load would read them)
// is a character line, the lines split as the loader splits them: a line cut after
// kLineLimit characters goes on as the next one, a NUL ends a line's text, and
// the last line counts without its line feed (a part of a line scans as itself).
bool holds_character_line(const char *bytes, std::size_t size);

#endif
