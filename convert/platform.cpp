// What the tool needs of the system beyond the C and C++ libraries: file identity
// and emptying through the handle of an open file, so that they see exactly the
// file that the C library opened, whatever the name's spelling or code page (POSIX
// calls on POSIX systems, Win32 calls on Windows), huge pages on Linux, and the
// console window and its code pages on Windows.
#include "convert/platform.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef __linux__
#include <sys/mman.h>
#endif

#ifdef _WIN32

namespace
{

HANDLE handle_of(std::FILE *file)
{
    return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
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

bool empty_file(std::FILE *file)
{
    if (GetFileType(handle_of(file)) != FILE_TYPE_DISK)
        return true;
    return _chsize_s(_fileno(file), 0) == 0;
}

bool cut_file_here(std::FILE *file)
{
    if (GetFileType(handle_of(file)) != FILE_TYPE_DISK)
        return true;
    // The descriptor's position counts the bytes on the disk, line ends included.
    __int64 here = _lseeki64(_fileno(file), 0, SEEK_CUR);
    return here >= 0 && _chsize_s(_fileno(file), here) == 0;
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

namespace
{

// Cuts the regular file open on `descriptor` to `length` bytes; other files, such
// as devices and pipes, have no length to cut, as opening for writing knows.
bool cut_regular_file(int descriptor, off_t length)
{
    struct stat status;
    if (fstat(descriptor, &status) != 0)
        return false;
    if (!S_ISREG(status.st_mode))
        return true;
    return length >= 0 && ftruncate(descriptor, length) == 0;
}

} // namespace

bool empty_file(std::FILE *file)
{
    return cut_regular_file(fileno(file), 0);
}

bool cut_file_here(std::FILE *file)
{
    return cut_regular_file(fileno(file), lseek(fileno(file), 0, SEEK_CUR));
}

#endif

bool same_identity(const FileIdentity &first, const FileIdentity &second)
{
    return first.device == second.device && first.number == second.number;
}

#ifdef __linux__

char *huge_page_block(char *raw, std::size_t size)
{
    std::uintptr_t at = reinterpret_cast<std::uintptr_t>(raw);
    char *block = raw + (kHugePageSize - at % kHugePageSize) % kHugePageSize;
    // Refused where the kernel has no huge pages: ordinary pages serve as well.
    madvise(block, size, MADV_HUGEPAGE);
    return block;
}

#else

char *huge_page_block(char *raw, std::size_t)
{
    return raw;
}

#endif

// ---- The console that standard input may be (Windows) ----

#ifdef _WIN32

namespace
{

bool windows_input_is_console()
{
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode;
    // NUL is a character device too, but has no console mode.
    return GetFileType(input) == FILE_TYPE_CHAR && GetConsoleMode(input, &mode) != 0;
}

std::uint32_t windows_attached_processes()
{
    DWORD processes[2]; // the count is returned whole even when the list is cut
    return GetConsoleProcessList(processes, 2);
}

std::uint32_t windows_file_name_code_page()
{
    return GetACP();
}

std::uint32_t windows_input_code_page()
{
    return GetConsoleCP();
}

std::uint32_t windows_output_code_page()
{
    return GetConsoleOutputCP();
}

void windows_set_code_pages(std::uint32_t input, std::uint32_t output)
{
    SetConsoleCP(input);
    SetConsoleOutputCP(output);
}

void (*g_break_handler)() = nullptr;

BOOL WINAPI on_control_event(DWORD)
{
    g_break_handler();
    return FALSE; // not handled: the process ends as it would have
}

void windows_on_console_break(void (*handler)())
{
    g_break_handler = handler;
    SetConsoleCtrlHandler(on_control_event, TRUE);
}

} // namespace

const ConsoleCalls kSystemConsole = {windows_input_is_console,    windows_attached_processes,
                                     windows_file_name_code_page, windows_input_code_page,
                                     windows_output_code_page,    windows_set_code_pages,
                                     windows_on_console_break};

#else

namespace
{

bool no_console()
{
    return false;
}

std::uint32_t no_number()
{
    return 0;
}

void no_code_pages(std::uint32_t, std::uint32_t) {}

void no_break_handler(void (*)()) {}

} // namespace

const ConsoleCalls kSystemConsole = {no_console, no_number,     no_number,       no_number,
                                     no_number,  no_code_pages, no_break_handler};

#endif
