// The save-file loader: reads the file in pieces through one buffer, splits its lines,
// and keeps the values of every character line, and nothing else of the file.
#ifndef TAMSEL_CONVERT_LOADER_H
#define TAMSEL_CONVERT_LOADER_H

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "convert/conversion.h"
#include "platform/files.h"

constexpr std::size_t kLineLimit = 6143; // characters a line keeps before it is cut
constexpr std::size_t kPathSize = 1024;  // the save-file path: 1023 characters and a NUL

// A load keeps each character's values (its record but the job name) in blocks that
// are never moved: a first block of 64 KiB, so that a file of a few lines takes
// little memory, then blocks of 2 MiB, which the system may back with large pages.
// The characters each holds:
constexpr std::size_t kKeptBytes = sizeof(CharacterRecord) - kJobNameSize;
constexpr std::size_t kFirstBlockCharacters = (std::size_t{64} << 10) / kKeptBytes;
constexpr std::size_t kBlockCharacters = (std::size_t{2} << 20) / kKeptBytes;

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

// Called with each piece of a file that split_lines splits: its text, NUL-terminated
// (a NUL in the file ends it early), and `length`, its bytes up to its end in the
// file, NULs included. A piece of exactly kLineLimit bytes is cut: what follows
// belongs to the same line of the file. Returns false to stop the split.
using LineSink = bool (*)(const char *text, std::size_t length, void *context);

// Reads `file` to its end, or `limit` bytes of it, and hands each line to `sink` in
// file order: a line is cut after kLineLimit characters and its rest is the next
// piece; a line feed ends a line and is not handed on; the last line counts without
// its line feed, and the end of the file after a line feed makes no empty piece; a
// line that `limit` cuts ends there. Text mode, where the system has it, drops the
// CR of each CR LF. Returns false when `sink` stopped it. Read errors end it like
// the end of the file: the caller checks ferror.
bool split_lines(std::FILE *file, std::size_t limit, LineSink sink, void *context);

// True when one of the lines of the first `limit` bytes of `file`, split as
// split_lines does, is a character line. Read errors end it like the end of the
// file: the caller checks ferror.
bool holds_character_line(std::FILE *file, std::size_t limit);

// Test seam: the most bytes one read takes (0: the default of 256 KiB).
void set_read_piece_size(std::size_t size);

#endif
