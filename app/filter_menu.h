// The filter menu: one filtered dump by account, job class or zeny range.
#ifndef TAMSEL_APP_FILTER_MENU_H
#define TAMSEL_APP_FILTER_MENU_H

#include "app/run_state.h"

// Asks for a filter, a report name and the filter's values, and runs one dump.
// Returns true to go back to the main menu, false when the run ends (filter 0, a
// letter, closed input, or a negative account or job value).
bool run_filter_menu(RunState &state);

#endif
