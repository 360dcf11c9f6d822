// The file system's calls on POSIX systems: stat and open without waiting, and a
// file's identity and length through the descriptor it is open on.
#include "platform/files.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// A name here names a file, never a stream inside one.
const bool kNewNameMayBeInAFile = false;

bool file_identity(std::FILE *file, FileIdentity *identity)
{
    struct stat status;
    if (fstat(fileno(file), &status) != 0)
        return false;
    identity->device = static_cast<std::uint64_t>(status.st_dev);
    identity->number = static_cast<std::uint64_t>(status.st_ino);
    return true;
}

bool regular_file_size(std::FILE *file, std::uint64_t *size)
{
    struct stat status;
    if (fstat(fileno(file), &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    *size = static_cast<std::uint64_t>(status.st_size);
    return true;
}

bool truncate_to_empty(std::FILE *file)
{
    // Devices and pipes have no length to cut, as opening for writing knows.
    struct stat status;
    if (fstat(fileno(file), &status) != 0)
        return false;
    return !S_ISREG(status.st_mode) || ftruncate(fileno(file), 0) == 0;
}

namespace
{

void set_identity(const struct stat &status, FileIdentity *identity)
{
    identity->device = static_cast<std::uint64_t>(status.st_dev);
    identity->number = static_cast<std::uint64_t>(status.st_ino);
}

void describe(const struct stat &status, FileAtName *found)
{
    found->regular = S_ISREG(status.st_mode);
    found->has_identity = true;
    set_identity(status, &found->identity);
    found->kind = status.st_mode & S_IFMT;
    found->size = static_cast<std::uint64_t>(status.st_size);
    found->changed = static_cast<std::uint64_t>(status.st_ctim.tv_sec) * 1000000000u +
                     static_cast<std::uint64_t>(status.st_ctim.tv_nsec);
}

} // namespace

void examine_name(const char *name, FileAtName *found)
{
    *found = FileAtName{};
    struct stat status;
    if (stat(name, &status) != 0) {
        found->missing = errno == ENOENT;
        return;
    }
    describe(status, found);
}

void examine_open_file(std::FILE *file, FileAtName *found)
{
    *found = FileAtName{};
    struct stat status;
    if (fstat(fileno(file), &status) == 0)
        describe(status, found);
}

std::FILE *open_examined_file(const char *name, const FileIdentity &examined, bool *held_or_failed)
{
    // Without waiting: should a FIFO have taken the file's place, the open returns
    // at once, and the check below turns it away. A file under another process's
    // lease would make the open wait too (EAGAIN): it cannot be read now. Only a
    // denied permission, or a file gone since it was examined, tells what the file
    // is; any other failure leaves it unknown.
    int descriptor = open(name, O_RDONLY | O_NONBLOCK | O_NOCTTY);
    if (descriptor == -1) {
        *held_or_failed = errno != EACCES && errno != EPERM && errno != ENOENT;
        return nullptr;
    }
    struct stat status;
    FileIdentity now;
    bool same = fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
    if (same) {
        set_identity(status, &now);
        same = same_identity(now, examined);
    }
    std::FILE *file = same ? fdopen(descriptor, "r") : nullptr;
    *held_or_failed = same && file == nullptr;
    if (file == nullptr)
        close(descriptor); // read only: nothing to lose on close
    return file;
}

bool examine_stream_file(const char *, FileAtName *found)
{
    *found = FileAtName{};
    return false; // a name here names a file, never a stream inside one
}

std::FILE *open_for_writing(const char *name, bool create, bool *changed)
{
    *changed = false;
    run_open_seam(name);
    // No O_TRUNC: the file is emptied only once it is known not to be the save file.
    int descriptor = create ? open(name, O_WRONLY | O_CREAT | O_EXCL, 0666) : open(name, O_WRONLY);
    if (descriptor == -1) {
        *changed = create ? errno == EEXIST : errno == ENOENT;
        return nullptr;
    }
    // "w" here only names the access: fdopen never empties a file.
    std::FILE *file = fdopen(descriptor, "w");
    if (file == nullptr)
        close(descriptor); // nothing written yet
    return file;
}
