// The dump writer: one report file of character sheets from the values the load kept.
#ifndef TAMSEL_CONVERT_WRITER_H
#define TAMSEL_CONVERT_WRITER_H

#include <cstddef>
#include <cstdint>

#include "convert/conversion.h"

// Creates or empties `report_name` and writes the sheet of every character the load
// kept that passes `kind` with `first` and `second`, then prints how many it wrote.
// Refuses a name that leads to the loaded save file and a file that holds character
// lines (a copy of a save file): before anything is opened for writing, or, when
// the open finds such a file at the name, before anything is written or cut.
// Reports a failed open or a failed write instead of a count. Returns true only on
// success.
bool dump_characters(const char *report_name, FilterKind kind, std::int32_t first,
                     std::int32_t second);

// Prints the error of a report that could not be opened or created, with `name`'s
// `length` bytes as they are, a NUL among them included: what the menus show for a
// typed name that no file can have.
void write_open_or_create_error(const char *name, std::size_t length);

// Test seam: the copy check's reads fail once they have read `bytes` bytes of the
// file, as a read error would end them (SIZE_MAX, the start: they never do).
void set_copy_check_failure(std::size_t bytes);

#endif
