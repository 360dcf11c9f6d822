// Start-up: the banner, the save-file prompt, the load, and the run's shared state.
#ifndef TAMSEL_APP_STARTUP_H
#define TAMSEL_APP_STARTUP_H

#include <cstdint>

#include "convert/loader.h"

constexpr std::size_t kWordSize = 2048; // a typed word: 2047 characters and a NUL

// The state one run shares between start-up and the two menus.
struct RunState {
    char word[kWordSize];       // the last word typed: the path, then report names
    std::size_t word_length;    // its bytes as read, a typed NUL among them counted
    char path[kPathSize];       // the save-file path in use, fixed after start-up
    std::int32_t main_choice;   // main-menu selection
    std::int32_t filter_choice; // filter-menu selection
    std::int32_t first_value;   // account ID, class number or lower zeny bound
    std::int32_t second_value;  // upper zeny bound
};

// Runs the whole dialogue on the console: banner, path, load, then the main menu.
// Returns when the run ends, with standard output flushed; the caller exits 0.
// True when the user chose to quit; false for every other ending (a failed load,
// a choice of 0, a negative ID), whose last message the user still has to read.
bool run_program();

#endif
