// File identity through the standard file-system library, which compares device
// and inode on POSIX systems and the volume's file index on Windows.
#include "convert/platform.h"

#include <filesystem>
#include <system_error>

bool same_file(const char *first, const char *second)
{
    std::error_code error;
    bool same = std::filesystem::equivalent(first, second, error);
    return !error && same;
}
