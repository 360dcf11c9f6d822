// The main menu: full dumps, the way to the filter menu, and quitting; and the
// dump of a typed report name that both menus run.
#ifndef TAMSEL_APP_MAIN_MENU_H
#define TAMSEL_APP_MAIN_MENU_H

#include <cstdint>

#include "app/startup.h"
#include "console/console.h"
#include "convert/conversion.h"

// Loops over the main menu until the run ends: quit, choice 0, a letter, closed
// input, or an ending chosen in the filter menu. True only for the quit choice.
bool run_main_menu(RunState &state);

// Runs the dump of `state.word` where a menu asks for it, given how the report
// name was read: nothing is done when no name was stored, and a name cut to the
// buffer, or one that holds a NUL, is refused rather than opened under a shorter name.
void dump_report(const RunState &state, WordRead name_read, FilterKind kind, std::int32_t first,
                 std::int32_t second);

#endif
