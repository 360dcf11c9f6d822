// The large blocks on POSIX systems: anonymous mappings, hinted for Linux's
// transparent huge pages where they are.
#include "platform/memory.h"

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

namespace
{

bool g_unaligned = false; // set by tests

char *map_anonymous(std::size_t size)
{
    void *block = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return block == MAP_FAILED ? nullptr : static_cast<char *>(block);
}

std::size_t past_a_multiple(const char *block)
{
    return reinterpret_cast<std::uintptr_t>(block) % kLargeBlockSize;
}

// A mapping of twice the size less a page holds an aligned block wherever it
// starts; the spare on either side of it is given back.
char *map_wide_and_trim()
{
    std::size_t wide_size = 2 * kLargeBlockSize - static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    char *wide = map_anonymous(wide_size);
    if (wide == nullptr)
        return nullptr;
    std::size_t head = (kLargeBlockSize - past_a_multiple(wide)) % kLargeBlockSize;
    if (head != 0)
        munmap(wide, head);
    if (wide_size - head > kLargeBlockSize)
        munmap(wide + head + kLargeBlockSize, wide_size - head - kLargeBlockSize);
    return wide + head;
}

} // namespace

void *map_large_block()
{
    // Linux places a mapping of this size at a multiple of it; elsewhere it may not.
    char *block = map_anonymous(kLargeBlockSize);
    if (block != nullptr && (g_unaligned || past_a_multiple(block) != 0)) {
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

void set_unaligned_placement(bool unaligned)
{
    g_unaligned = unaligned;
}
