// The few operations whose working differs between the systems the tool runs on.
#ifndef TAMSEL_CONVERT_PLATFORM_H
#define TAMSEL_CONVERT_PLATFORM_H

#include <cstddef>
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

// Cuts the file that `file` (unbuffered) is open on where the stream has written
// up to, dropping what lies beyond; a device or a pipe is left as it is. False
// when a file that has a length could not be cut.
bool cut_file_here(std::FILE *file);

// Reads the size in bytes of the regular file that `file` is open on. False for a
// file whose size is not known before it is read: a pipe, a FIFO or a device.
bool regular_file_size(std::FILE *file, std::uint64_t *size);

// The size and alignment of a huge page: a block aligned to it can be backed by
// huge pages, which a large block then needs a hundred times fewer of.
constexpr std::size_t kHugePageSize = std::size_t{1} << 21;

// Returns where a block of `size` bytes starts inside `raw`, an allocation of `size`
// + kHugePageSize bytes. On Linux the block is aligned to kHugePageSize and the kernel
// is advised to back it with transparent huge pages; elsewhere, or where the advice
// is refused or huge pages are switched off, it is a block of ordinary pages.
char *huge_page_block(char *raw, std::size_t size);

#endif
