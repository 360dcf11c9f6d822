// The file system's calls on Windows: Win32 calls with narrow names, read in the
// ANSI code page as the C library's own fopen reads them, and a file's identity
// and length through the handle it is open on.
#include "platform/files.h"

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "platform/windows_names.h"

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

// The longest name the system opens, in UTF-16 units.
constexpr int kWideNameSize = 1 << 15;
wchar_t g_wide_name[kWideNameSize];
wchar_t g_full_path[kWideNameSize];
// A name as the open will read it, in UTF-8: it holds every character of a path, and
// no byte of a character is a \ or a /, as in a double-byte code page it may be.
char g_as_opened[3 * kWideNameSize];

// Puts `name` into g_as_opened as the open will read it: in the ANSI code page, as
// CreateFileA reads it, then as its full path (the current folder joined, "." and
// ".." resolved, / turned into \), but for a name the system takes as it stands
// ("\\?\" and "\??\", backslashes only). Read as written, "\\.\pipe\..\C:\x" would
// be a pipe and "athena.txt:x\." no stream: they are C:\x and athena.txt:x. The full
// path is made in wide characters: in the code page a folder's name may not be
// spelled at all, nor a path past 260 characters. False when the name is longer
// than any the system opens.
bool name_as_opened(const char *name)
{
    if (MultiByteToWideChar(CP_ACP, 0, name, -1, g_wide_name, kWideNameSize) == 0)
        return false;
    const wchar_t *path = g_wide_name;
    if (std::strncmp(name, "\\\\?\\", 4) != 0 && std::strncmp(name, "\\??\\", 4) != 0) {
        DWORD length = GetFullPathNameW(g_wide_name, kWideNameSize, g_full_path, nullptr);
        if (length > 0 && length < static_cast<DWORD>(kWideNameSize))
            path = g_full_path;
    }
    return WideCharToMultiByte(CP_UTF8, 0, path, -1, g_as_opened, sizeof g_as_opened, nullptr,
                               nullptr) != 0;
}

// True when `name` leads to a named pipe, as the open will read it.
bool leads_to_a_pipe(const char *name)
{
    // A name longer than any the system opens opens nothing either.
    return name_as_opened(name) && names_a_pipe(g_as_opened);
}

// Fills in `found` from `handle`, opened with no access to examine a name (or
// INVALID_HANDLE_VALUE), and closes it.
void describe_examined(HANDLE handle, FileAtName *found)
{
    if (handle == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        found->missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return;
    }
    describe_handle(handle, found);
    CloseHandle(handle);
}

// No access asked: the handle can only be asked about the file, so opening it
// neither reads nor writes it, and a folder opens too.
constexpr DWORD kExamineShare = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD kExamineFlags = FILE_FLAG_BACKUP_SEMANTICS;

} // namespace

bool examine_stream_file(const char *name, FileAtName *found)
{
    *found = FileAtName{};
    if (!name_as_opened(name))
        return false;
    std::size_t length = file_part_length(g_as_opened);
    if (g_as_opened[length] == '\0')
        return false;
    g_as_opened[length] = '\0';
    // A pipe's name is never opened to examine it (see examine_name).
    if (names_a_pipe(g_as_opened) ||
        MultiByteToWideChar(CP_UTF8, 0, g_as_opened, -1, g_wide_name, kWideNameSize) == 0)
        return true;
    describe_examined(
        CreateFileW(g_wide_name, 0, kExamineShare, nullptr, OPEN_EXISTING, kExamineFlags, nullptr),
        found);
    return true;
}

// "athena.txt:x" creates a stream inside athena.txt, with its identity.
const bool kNewNameMayBeInAFile = true;

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

bool truncate_to_empty(std::FILE *file)
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
    // The narrow name itself, so that it is read exactly as the open reads it.
    describe_examined(
        CreateFileA(name, 0, kExamineShare, nullptr, OPEN_EXISTING, kExamineFlags, nullptr), found);
}

void examine_open_file(std::FILE *file, FileAtName *found)
{
    *found = FileAtName{};
    describe_handle(handle_of(file), found);
}

std::FILE *open_examined_file(const char *name, const FileIdentity &examined,
                              bool *held_or_failed)
{
    // Opened as fopen opens a file to read it, but with the system's own error at
    // hand: errno says EACCES for a file held against reading and for a denied
    // permission alike. A file on a disk never makes a reader wait.
    HANDLE handle = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    // Only a denied permission, or a file gone since it was examined, tells what the
    // file is; a sharing violation or any other failure leaves it unknown.
    if (handle == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        *held_or_failed = error != ERROR_ACCESS_DENIED && error != ERROR_FILE_NOT_FOUND &&
                          error != ERROR_PATH_NOT_FOUND;
        return nullptr;
    }
    FileAtName opened = {};
    describe_handle(handle, &opened);
    if (!opened.has_identity || !same_identity(opened.identity, examined)) {
        CloseHandle(handle); // read only: nothing to lose on close
        *held_or_failed = false;
        return nullptr;
    }
    std::FILE *file = stream_of(handle, _O_RDONLY, "r");
    *held_or_failed = file == nullptr;
    return file;
}

std::FILE *open_for_writing(const char *name, bool create, bool *changed)
{
    *changed = false;
    run_open_seam(name);
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
