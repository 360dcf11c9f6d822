// File identity and emptying through the handle of an open file, so that they see
// exactly the file that the C library opened, whatever the name's spelling or code
// page: POSIX calls on Linux and other POSIX systems, Win32 calls on Windows.
#include "convert/platform.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
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
    return _chsize(_fileno(file), 0) == 0;
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

bool empty_file(std::FILE *file)
{
    struct stat status;
    if (fstat(fileno(file), &status) != 0)
        return false;
    // Opening for writing cuts only regular files; devices and pipes have no length.
    if (!S_ISREG(status.st_mode))
        return true;
    return ftruncate(fileno(file), 0) == 0;
}

#endif

bool same_identity(const FileIdentity &first, const FileIdentity &second)
{
    return first.device == second.device && first.number == second.number;
}
