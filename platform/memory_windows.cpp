// The large blocks on Windows: committed virtual memory. No large-page hint: Windows
// gives large pages only to accounts holding the privilege to lock pages in memory,
// which users do not have.
#include "platform/memory.h"

#include <cstdint>
#include <windows.h>

namespace
{

bool g_unaligned = false; // set by tests

std::size_t past_a_multiple(const void *block)
{
    return reinterpret_cast<std::uintptr_t>(block) % kLargeBlockSize;
}

} // namespace

void *map_large_block()
{
    // Windows places memory at multiples of 64 KiB only, and gives back a
    // reservation only whole: an unaligned block is replaced by a reservation of
    // twice the size, of which the aligned part is committed.
    void *block = VirtualAlloc(nullptr, kLargeBlockSize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (block == nullptr || (!g_unaligned && past_a_multiple(block) == 0))
        return block;
    VirtualFree(block, 0, MEM_RELEASE);
    char *wide =
        static_cast<char *>(VirtualAlloc(nullptr, 2 * kLargeBlockSize, MEM_RESERVE, PAGE_NOACCESS));
    if (wide == nullptr)
        return nullptr;
    char *aligned = wide + (kLargeBlockSize - past_a_multiple(wide)) % kLargeBlockSize;
    if (VirtualAlloc(aligned, kLargeBlockSize, MEM_COMMIT, PAGE_READWRITE) == nullptr) {
        VirtualFree(wide, 0, MEM_RELEASE);
        return nullptr;
    }
    return aligned;
}

void unmap_large_block(void *block)
{
    // The reservation that holds the block, which may start before it.
    MEMORY_BASIC_INFORMATION region;
    if (VirtualQuery(block, &region, sizeof region) != 0)
        VirtualFree(region.AllocationBase, 0, MEM_RELEASE);
}

void set_unaligned_placement(bool unaligned)
{
    g_unaligned = unaligned;
}
