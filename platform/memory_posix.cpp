// The large blocks on POSIX systems: anonymous mappings, hinted for Linux's
// transparent huge pages where they are.
#include "platform/memory.h"

#include <cstdint>
#include <sys/mman.h>

namespace
{

char *map_anonymous(std::size_t size)
{
    void *block = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return block == MAP_FAILED ? nullptr : static_cast<char *>(block);
}

std::size_t past_a_multiple(const char *block)
{
    return reinterpret_cast<std::uintptr_t>(block) % kLargeBlockSize;
}

// Twice the size, and the spare on either side of the aligned block given back.
char *map_wide_and_trim()
{
    char *wide = map_anonymous(2 * kLargeBlockSize);
    if (wide == nullptr)
        return nullptr;
    std::size_t head = (kLargeBlockSize - past_a_multiple(wide)) % kLargeBlockSize;
    if (head != 0)
        munmap(wide, head);
    munmap(wide + head + kLargeBlockSize, kLargeBlockSize - head);
    return wide + head;
}

} // namespace

void *map_large_block()
{
    // Linux places a mapping of this size at a multiple of it; elsewhere it may not.
    char *block = map_anonymous(kLargeBlockSize);
    if (block != nullptr && past_a_multiple(block) != 0) {
        munmap(block, kLargeBlockSize);
        block = map_wide_and_trim();
    }
#ifdef MADV_HUGEPAGE
    // A refusal (huge pages off, or an old kernel) leaves 4 KiB pages: nothing to undo.
    if (block != nullptr)
        madvise(block, kLargeBlockSize, MADV_HUGEPAGE);
#endif
    return block;
}

void unmap_large_block(void *block)
{
    munmap(block, kLargeBlockSize);
}
