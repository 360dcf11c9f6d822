// Start-up: the banner, the save-file prompt, the load, and the way into the menus.
#ifndef TAMSEL_APP_STARTUP_H
#define TAMSEL_APP_STARTUP_H

// Runs the whole dialogue on the console: banner, path, load, then the main menu.
// Returns when the run ends, with standard output flushed; the caller exits 0.
// True when the user chose to quit; false for every other ending (a failed load,
// a choice of 0, a negative ID), whose last message the user still has to read.
bool run_program();

#endif
