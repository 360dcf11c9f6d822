// The dump writer: one report file of character sheets from the loaded lines.
#ifndef TAMSEL_CONVERT_WRITER_H
#define TAMSEL_CONVERT_WRITER_H

#include <cstdint>

#include "convert/conversion.h"

// Creates or empties `report_name` and writes the sheet of every stored character
// line that passes `kind` with `first` and `second`, then prints how many it
// wrote. Refuses, with nothing opened for writing, a name that leads to the loaded
// save file and a file that holds character lines (a copy of a save file); reports
// a failed open or a failed write instead of a count. Returns true only on success.
bool dump_characters(const char *report_name, FilterKind kind, std::int32_t first,
                     std::int32_t second);

#endif
