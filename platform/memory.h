// What the program tells the system about memory it holds: that a large block it
// fills is best backed by large pages.
#ifndef TAMSEL_PLATFORM_MEMORY_H
#define TAMSEL_PLATFORM_MEMORY_H

#include <cstddef>

// Asks the system to back `block`, `size` bytes aligned to a large page, with large
// pages, so that filling it takes a few page faults instead of one every 4 KiB. A
// hint: where the system has no such pages, or refuses, nothing changes.
void hint_large_pages(void *block, std::size_t size);

#endif
