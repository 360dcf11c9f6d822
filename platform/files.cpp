// The file system's calls beyond the C library: file identity and emptying through
// the handle of an open file, so that they see exactly the file that was opened,
// whatever the name's spelling or code page; examining a name and opening a report
// without emptying it (POSIX calls on POSIX systems, Win32 calls with narrow names,
// as the C library's own, on Windows); and the signals of failed writes.
#include "platform/files.h"

#include <csignal>
#include <cstring>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace
{

// Called by open_for_writing just before it opens; set only by tests.
void (*g_open_seam)(const char *name) = nullptr;

} // namespace

#ifdef _WIN32

namespace
{

HANDLE handle_of(std::FILE *file)
{
    return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
}

std::uint64_t joined(DWORD high, DWORD low)
{
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

// Fills in what a handle to a file on a disk says of it; leaves a device or a
// pipe without an identity.
void describe_handle(HANDLE handle, FileAtName *found)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info))
        return;
    found->regular = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    found->has_identity = true;
    found->identity.device = info.dwVolumeSerialNumber;
    found->identity.number = joined(info.nFileIndexHigh, info.nFileIndexLow);
    found->kind = info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    found->size = joined(info.nFileSizeHigh, info.nFileSizeLow);
    found->changed =
        joined(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime);
}

} // namespace

bool file_identity(std::FILE *file, FileIdentity *identity)
{
    HANDLE handle = handle_of(file);
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info))
        return false;
    identity->device = info.dwVolumeSerialNumber;
    identity->number = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return true;
}

bool regular_file_size(std::FILE *file, std::uint64_t *size)
{
    HANDLE handle = handle_of(file);
    LARGE_INTEGER bytes;
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileSizeEx(handle, &bytes))
        return false;
    *size = static_cast<std::uint64_t>(bytes.QuadPart);
    return true;
}

bool empty_file(std::FILE *file)
{
    if (GetFileType(handle_of(file)) != FILE_TYPE_DISK)
        return true;
    return _chsize_s(_fileno(file), 0) == 0;
}

void examine_name(const char *name, FileAtName *found)
{
    *found = FileAtName{};
    // No access asked: the handle can only be asked about the file, so opening it
    // neither reads nor writes it, and a folder opens too.
    HANDLE handle = CreateFileA(name, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        found->missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return;
    }
    describe_handle(handle, found);
    CloseHandle(handle);
}

void examine_open_file(std::FILE *file, FileAtName *found)
{
    *found = FileAtName{};
    describe_handle(handle_of(file), found);
}

std::FILE *open_examined_file(const char *name, const FileIdentity &examined, bool *busy)
{
    // A file on a disk never makes a reader wait, so the C library's open serves.
    *busy = false;
    std::FILE *file = std::fopen(name, "r");
    FileIdentity now;
    if (file != nullptr && !(file_identity(file, &now) && same_identity(now, examined))) {
        std::fclose(file); // read only: nothing to lose on close
        file = nullptr;
    }
    return file;
}

std::FILE *open_for_writing(const char *name, bool create, bool *changed)
{
    *changed = false;
    if (g_open_seam != nullptr)
        g_open_seam(name);
    // Shared as the C library shares a file it opens for writing.
    HANDLE handle =
        CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    create ? CREATE_NEW : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        *changed = create ? error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS
                          : error == ERROR_FILE_NOT_FOUND;
        return nullptr;
    }
    // Text mode, as fopen's: each line feed reaches the file as CR LF.
    int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_TEXT);
    if (descriptor == -1) {
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE *file = _fdopen(descriptor, "w");
    if (file == nullptr)
        _close(descriptor); // nothing written yet
    return file;
}

#else

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

bool empty_file(std::FILE *file)
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

std::FILE *open_examined_file(const char *name, const FileIdentity &examined, bool *busy)
{
    // Without waiting: should a FIFO have taken the file's place, the open returns
    // at once, and the check below turns it away. A file under another process's
    // lease would make the open wait too: it is busy.
    int descriptor = open(name, O_RDONLY | O_NONBLOCK | O_NOCTTY);
    *busy = descriptor == -1 && (errno == EAGAIN || errno == EWOULDBLOCK);
    if (descriptor == -1)
        return nullptr;
    struct stat status;
    FileIdentity now;
    bool same = fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
    if (same) {
        set_identity(status, &now);
        same = same_identity(now, examined);
    }
    std::FILE *file = same ? fdopen(descriptor, "r") : nullptr;
    if (file == nullptr)
        close(descriptor); // read only: nothing to lose on close
    return file;
}

std::FILE *open_for_writing(const char *name, bool create, bool *changed)
{
    *changed = false;
    if (g_open_seam != nullptr)
        g_open_seam(name);
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

#endif

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

std::size_t file_part_length(const char *name)
{
    std::size_t start = 0;
    if (std::strncmp(name, "\\\\?\\", 4) == 0 || std::strncmp(name, "\\\\.\\", 4) == 0)
        start = 4;
    // The drive's colon is no stream's: "C:athena.txt" is athena.txt in C:'s folder.
    unsigned char letter = static_cast<unsigned char>(name[start] | 0x20);
    if (letter >= 'a' && letter <= 'z' && name[start + 1] == ':')
        start += 2;
    std::size_t last = start;
    for (std::size_t i = start; name[i] != '\0'; ++i) {
        if (name[i] == '\\' || name[i] == '/')
            last = i + 1;
    }
    const char *colon = std::strchr(name + last, ':');
    return colon != nullptr ? static_cast<std::size_t>(colon - name) : std::strlen(name);
}

void set_open_seam(void (*seam)(const char *name))
{
    g_open_seam = seam;
}
