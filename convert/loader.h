// The save-file loader: reads the save file through the line splitter and keeps the
// values of every character line, and nothing else of the file.
#ifndef TAMSEL_CONVERT_LOADER_H
#define TAMSEL_CONVERT_LOADER_H

#include <cstddef>
#include <cstdint>

#include "convert/conversion.h"
#include "platform/files.h"
#include "platform/memory.h"

constexpr std::size_t kPathSize = 1024; // the save-file path: 1023 characters and a NUL

// A load keeps each character's values (its record but the job name) in blocks that
// are never moved: a first block of 64 KiB, so that a file of a few lines takes
// little memory, then large blocks mapped from the system, which it may back with
// large pages. The characters each holds:
constexpr std::size_t kKeptBytes = sizeof(CharacterRecord) - kJobNameSize;
constexpr std::size_t kFirstBlockCharacters = (std::size_t{64} << 10) / kKeptBytes;
constexpr std::size_t kBlockCharacters = kLargeBlockSize / kKeptBytes;

// Reads the whole save file at `path`, splitting it as split_lines does, and keeps
// the values of each character line. Frees what the previous load kept, its path and
// identity included, whether or not this load succeeds. Prints the count of character
// lines and, when there are any, the count and the first line numbers of the file's
// lines that give no sheet (a cut line's pieces count as one line, numbered where it
// starts). A missing, unreadable or directory path, or one of kPathSize characters or
// more, prints the open error; a file whose values the memory cannot hold prints that
// it is too large; both return false with nothing kept.
bool load_save_file(const char *path);

// Prints the load's open error for `path`, its `length` bytes as they are, a NUL
// among them included: what start-up shows for a path no file can have.
void write_open_error(const char *path, std::size_t length);

// Fills `record` with the values kept of character `index`: the characters are
// counted from 0 in file order, lines that give no sheet left out, so `index` is no
// line number. The values are those scan_character_line read; job_name is left as
// it is. `index` must be below character_count(): it is not checked.
void stored_character(std::int64_t index, CharacterRecord *record);

// The number of characters the last load kept (0 before a load and after a failed one).
std::int64_t character_count();

// The path of the last load when it succeeded (empty before a load and after a
// failed one).
const char *save_file_path();

// The identity of the file the last load read when it succeeded, taken from the
// handle it was read through. False before a load, after a failed one, or when that
// file had none (a device).
bool save_file_identity(FileIdentity *identity);

#endif
