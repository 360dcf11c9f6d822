// The dump writer: one report file of character sheets from the values the load kept.
#ifndef TAMSEL_CONVERT_WRITER_H
#define TAMSEL_CONVERT_WRITER_H

#include <cstdint>

#include "convert/conversion.h"

// Opens `report_name` with open_report, which creates or empties it or refuses it,
// and writes the sheet of every character the load kept that passes `kind` with
// `first` and `second`, then prints how many it wrote. Reports a refused or failed
// open, or a failed write, instead of a count. Returns true only on success.
bool dump_characters(const char *report_name, FilterKind kind, std::int32_t first,
                     std::int32_t second);

#endif
