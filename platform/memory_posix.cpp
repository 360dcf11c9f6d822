// The memory hint on POSIX systems: Linux's transparent huge pages, where they are.
#include "platform/memory.h"

#include <sys/mman.h>

void hint_large_pages(void *block, std::size_t size)
{
#ifdef MADV_HUGEPAGE
    // A refusal (huge pages off, or an old kernel) leaves 4 KiB pages: nothing to undo.
    madvise(block, size, MADV_HUGEPAGE);
#else
    (void)block;
    (void)size;
#endif
}
