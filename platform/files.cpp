// What the file calls of every system share: comparing identities and states, the
// signals of failed writes, and the open seam. The system's own calls are in
// files_posix.cpp and files_windows.cpp.
#include "platform/files.h"

#include <csignal>

namespace
{

// Called by open_for_writing just before it opens; set only by tests.
void (*g_open_seam)(const char *name) = nullptr;

} // namespace

bool same_identity(const FileIdentity &first, const FileIdentity &second)
{
    return first.device == second.device && first.number == second.number;
}

bool same_file_state(const FileAtName &first, const FileAtName &second)
{
    if (!first.has_identity || !second.has_identity)
        return first.has_identity == second.has_identity;
    if (!same_identity(first.identity, second.identity) || first.kind != second.kind)
        return false;
    // Only a regular file's contents can be a copy; a FIFO or a device changes its
    // time with every write of another program, and holds nothing to lose.
    return !first.regular || (first.size == second.size && first.changed == second.changed);
}

void fail_writes_instead_of_signals()
{
#ifdef SIGPIPE
    std::signal(SIGPIPE, SIG_IGN);
#endif
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

void set_open_seam(void (*seam)(const char *name))
{
    g_open_seam = seam;
}

void run_open_seam(const char *name)
{
    if (g_open_seam != nullptr)
        g_open_seam(name);
}
