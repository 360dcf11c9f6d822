// What the tool needs of the system beyond the C and C++ libraries: file identity
// and emptying through the handle of an open file, so that they see exactly the
// file that the C library opened, whatever the name's spelling or code page (POSIX
// calls on POSIX systems, Win32 calls on Windows), and huge pages on Linux.
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

bool regular_file_size(std::FILE *file, std::uint64_t *size)
{
    struct stat status;
    if (fstat(fileno(file), &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    *size = static_cast<std::uint64_t>(status.st_size);
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
