// The few operations whose working differs between the systems the tool runs on.
#ifndef TAMSEL_CONVERT_PLATFORM_H
#define TAMSEL_CONVERT_PLATFORM_H

#include <cstdint>
#include <cstdio>

// What the system knows an open file by, however its name was spelled: the device
// and inode on POSIX systems, the volume serial number and file index on Windows.
struct FileIdentity {
    std::uint64_t device;
    std::uint64_t number;
};

// Reads the identity of the file that `file` is open on. False when it has none: on
// Windows a device or a pipe (no file on a disk, so never the save file).
bool file_identity(std::FILE *file, FileIdentity *identity);

bool same_identity(const FileIdentity &first, const FileIdentity &second);

// Cuts the file that `file` is open on to zero length, as opening it for writing
// would; a device or a pipe, which has no length, is left as it is. False when a
// file that has a length could not be cut.
bool empty_file(std::FILE *file);

#endif
