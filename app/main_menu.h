// The main menu: full dumps, the way to the filter menu, and quitting.
#ifndef TAMSEL_APP_MAIN_MENU_H
#define TAMSEL_APP_MAIN_MENU_H

#include "app/run_state.h"

// Loops over the main menu until the run ends: quit, choice 0, a letter, closed
// input, or an ending chosen in the filter menu. True only for the quit choice.
bool run_main_menu(RunState &state);

#endif
