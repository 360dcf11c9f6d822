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

// A stream over `handle`, with the C library's text mode; closes the handle and
// gives nullptr when none can be made.
std::FILE *stream_of(HANDLE handle, int flags, const char *mode)
{
    int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), flags | _O_TEXT);
    if (descriptor == -1) {
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE *file = _fdopen(descriptor, mode);
    if (file == nullptr)
        _close(descriptor); // nothing written yet
    return file;
}

// The full path the system makes of a name before it opens it: its slashes turned,
// its "." and ".." resolved, the current folder joined to it. Far longer than any
// pipe's name.
char g_full_path[1 << 15];

// True when `name` leads to a named pipe, as written or as the open will read it
// ("\\.\C:\..\pipe\x", or a plain name in the pipe folder made current).
bool leads_to_a_pipe(const char *name)
{
    if (names_a_pipe(name, is_name_lead_byte))
        return true;
    DWORD length = GetFullPathNameA(name, sizeof g_full_path, g_full_path, nullptr);
    return length > 0 && length < sizeof g_full_path &&
           names_a_pipe(g_full_path, is_name_lead_byte);
}

} // namespace

bool is_name_lead_byte(unsigned char name_byte)
{
    return IsDBCSLeadByteEx(CP_ACP, name_byte) != 0;
}

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
    // Even an open with no access takes one of a pipe's instances, and the server
    // then waits on a client that sends nothing: the report's own open is the one.
    if (leads_to_a_pipe(name))
        return;
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
    // Opened as fopen opens a file to read it, but with the system's own error at
    // hand: errno says EACCES for a file held against reading and for a denied
    // permission alike. A file on a disk never makes a reader wait.
    HANDLE handle = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    *busy = handle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION;
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    FileAtName opened = {};
    describe_handle(handle, &opened);
    if (!opened.has_identity || !same_identity(opened.identity, examined)) {
        CloseHandle(handle); // read only: nothing to lose on close
        return nullptr;
    }
    return stream_of(handle, _O_RDONLY, "r");
}

bool read_stopped_by_lock(std::FILE *file)
{
    // The C library keeps the system's error of its last failed call beside errno.
    return std::ferror(file) != 0 && _doserrno == static_cast<DWORD>(ERROR_LOCK_VIOLATION);
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
    return stream_of(handle, _O_WRONLY, "w");
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

bool read_stopped_by_lock(std::FILE *)
{
    return false; // locks here only advise: they stop no read
}

bool is_name_lead_byte(unsigned char)
{
    return false; // a name's bytes are its characters' own; / is never part of another
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

namespace
{

bool is_separator(char c)
{
    return c == '\\' || c == '/';
}

// The length of the character that starts at `text`: a lead byte takes the byte
// after it, unless that is the NUL that ends the text.
std::size_t character_length(const char *text, LeadByteTest is_lead_byte)
{
    return is_lead_byte(static_cast<unsigned char>(*text)) && text[1] != '\0' ? 2 : 1;
}

// True when `text` starts with the component `word` (lower case ASCII letters), in
// any case, ended by a separator.
bool starts_with_component(const char *text, const char *word)
{
    std::size_t i = 0;
    for (; word[i] != '\0'; ++i) {
        if ((text[i] | 0x20) != word[i])
            return false;
    }
    return is_separator(text[i]);
}

} // namespace

std::size_t file_part_length(const char *name, LeadByteTest is_lead_byte)
{
    std::size_t start = 0;
    if (std::strncmp(name, "\\\\?\\", 4) == 0 || std::strncmp(name, "\\\\.\\", 4) == 0)
        start = 4;
    // The drive's colon is no stream's: "C:athena.txt" is athena.txt in C:'s folder.
    unsigned char letter = static_cast<unsigned char>(name[start] | 0x20);
    if (letter >= 'a' && letter <= 'z' && name[start + 1] == ':')
        start += 2;
    // By characters: in a double-byte code page the second byte of one may be a \.
    const std::size_t none = std::strlen(name);
    std::size_t colon = none;
    std::size_t i = start;
    while (name[i] != '\0') {
        if (is_separator(name[i]))
            colon = none;
        else if (name[i] == ':' && colon == none)
            colon = i;
        i += character_length(name + i, is_lead_byte);
    }
    return colon;
}

bool names_a_pipe(const char *name, LeadByteTest is_lead_byte)
{
    if (!is_separator(name[0]) || !is_separator(name[1]))
        return false;
    const char *p = name + 2;
    if ((p[0] == '.' || p[0] == '?') && is_separator(p[1])) {
        if (starts_with_component(p + 2, "pipe"))
            return true;
        // "\\?\UNC\SERVER\" is "\\SERVER\" spelled for the system's own path.
        if (!starts_with_component(p + 2, "unc"))
            return false;
        p += 6;
    }
    const char *server = p;
    while (*p != '\0' && !is_separator(*p))
        p += character_length(p, is_lead_byte);
    return p != server && *p != '\0' && starts_with_component(p + 1, "pipe");
}

void set_open_seam(void (*seam)(const char *name))
{
    g_open_seam = seam;
}
