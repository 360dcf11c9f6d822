// The memory hint on Windows: none. Large pages there are given only to accounts
// holding the privilege to lock pages in memory, which users do not have.
#include "platform/memory.h"

void hint_large_pages(void *, std::size_t) {}
