// The state one run shares between start-up and the two menus.
#ifndef TAMSEL_APP_RUN_STATE_H
#define TAMSEL_APP_RUN_STATE_H

#include <cstddef>
#include <cstdint>

#include "convert/loader.h"

constexpr std::size_t kWordSize = 2048; // a typed word: 2047 characters and a NUL

struct RunState {
    char word[kWordSize];       // the last word typed: the path, then report names
    std::size_t word_length;    // its bytes as read, a typed NUL among them counted
    char path[kPathSize];       // the path start-up loads (the loader keeps its own copy)
    std::int32_t main_choice;   // main-menu selection
    std::int32_t filter_choice; // filter-menu selection
    std::int32_t first_value;   // account ID, class number or lower zeny bound
    std::int32_t second_value;  // upper zeny bound
};

#endif
