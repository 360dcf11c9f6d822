// The dump of a typed report name, which both menus run once they have read it.
#ifndef TAMSEL_APP_DUMP_REPORT_H
#define TAMSEL_APP_DUMP_REPORT_H

#include <cstdint>

#include "app/run_state.h"
#include "console/console.h"
#include "convert/conversion.h"

// Runs the dump of `state.word` where a menu asks for it, given how the report
// name was read: nothing is done when no name was stored, and a name cut to the
// buffer, or one that holds a NUL, is refused rather than opened under a shorter name.
void dump_report(const RunState &state, WordRead name_read, FilterKind kind, std::int32_t first,
                 std::int32_t second);

#endif
