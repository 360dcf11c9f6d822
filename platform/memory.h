// The memory of the loader's large blocks, mapped from the system directly: each
// starts at a multiple of its size, so that the system may back it with large pages,
// and takes no more address space than its size.
#ifndef TAMSEL_PLATFORM_MEMORY_H
#define TAMSEL_PLATFORM_MEMORY_H

#include <cstddef>

constexpr std::size_t kLargeBlockSize = std::size_t{2} << 20; // one large page

// Maps a zeroed block of kLargeBlockSize bytes at a multiple of kLargeBlockSize,
// hinted for large pages where the system has them; nullptr when it is refused.
void *map_large_block();

// Gives back a block that map_large_block returned.
void unmap_large_block(void *block);

// Test seam: with `unaligned`, blocks are mapped as on a system that places none at
// a multiple of its size, so that each takes the longer way there.
void set_unaligned_placement(bool unaligned);

#endif
