// The line splitter: reads a file in pieces through a buffer of its own and hands
// each of its lines to a sink, as the load and the report's copy check both read a
// file. One split runs at a time: the buffer is the splitter's alone.
#ifndef TAMSEL_CONVERT_LINE_SPLITTER_H
#define TAMSEL_CONVERT_LINE_SPLITTER_H

#include <cstddef>
#include <cstdio>

constexpr std::size_t kLineLimit = 6143; // characters a line keeps before it is cut

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

// Test seam: the most bytes one read takes (0: the default of 256 KiB).
void set_read_piece_size(std::size_t size);

#endif
