// The system's file calls beyond the C library, one file per system behind this
// header, for the loader, the report's checks and open, and start-up: file
// identity, examining a name, opening a report without emptying it, emptying it,
// and the signals that turn failed writes into errors.
#ifndef TAMSEL_PLATFORM_FILES_H
#define TAMSEL_PLATFORM_FILES_H

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
bool truncate_to_empty(std::FILE *file);

// What stands at a name, as examine_name found it.
struct FileAtName {
    bool missing;          // nothing stands there: creating it would make a new file
    bool regular;          // a regular file (on Windows: a file on a disk, not a folder)
    bool has_identity;     // false for a Windows device or pipe, or a failed examination
    FileIdentity identity; // set only with has_identity
    // Also set only with has_identity, to tell the file from another that was given
    // the same identity once it was free, or from itself after a write: its kind
    // (POSIX file type), its size, and when it last changed (POSIX status change;
    // Windows last write), in the system's own units.
    std::uint64_t kind;
    std::uint64_t size;
    std::uint64_t changed;
};

// Examines the file that `name` leads to without opening it for reading or writing
// and without ever waiting (a FIFO is not opened): stat on POSIX systems; on Windows
// a handle with no access, opened through the same narrow-name call that fopen uses,
// so that the name is read exactly as the open reads it. A named pipe on Windows is
// not opened at all, since an open with no access takes one of its instances: it is
// a device without an identity. A name that could not be examined for another
// reason than a missing file counts as present, unidentified.
void examine_name(const char *name, FileAtName *found);

// Examines the file that `file` is open on, as examine_name examines a name.
void examine_open_file(std::FILE *file, FileAtName *found);

// True when both examinations found the same file in the same state: both without
// an identity (a Windows device such as NUL), or the same identity and kind and,
// for a regular file, the same size and time of the last change.
bool same_file_state(const FileAtName &first, const FileAtName &second);

// Opens the regular file at `name` for reading in text mode, with an open that
// cannot wait, when it is still the file `examined` identified; nullptr otherwise.
// `*held_or_failed` tells why it returned nullptr: true when another process holds
// the file (on POSIX systems a lease, which would make the open wait; on Windows a
// share mode that lets no one else read it) or the system failed (an I/O error, no
// memory), so that what the file holds cannot be known now; false when there is no
// permission to read it, or it is another kind of file, another file or none by now.
std::FILE *open_examined_file(const char *name, const FileIdentity &examined, bool *held_or_failed);

// Opens `name` for writing in text mode without emptying it. With `create` a new
// file is made and none may stand there yet (O_EXCL; CREATE_NEW on Windows).
// Without it, only an existing file is opened, as a plain open for writing would:
// a FIFO waits for its reader, a file without write permission fails. A failure
// because what stands at the name has changed since it was examined (a file has
// appeared, or the file has gone) sets `*changed`. Runs the open seam first.
std::FILE *open_for_writing(const char *name, bool create, bool *changed);

// True where a name that no file has yet can still be created inside an existing
// file, sharing its identity: on Windows "athena.txt:x" makes a stream of
// athena.txt. Elsewhere a file created under a new name is a new file. Each
// system's file calls answer it.
extern const bool kNewNameMayBeInAFile;

// When `name` names a stream inside a file (on Windows "athena.txt:x"), examines that
// file as examine_name examines a name and returns true. The name is read as the
// open will read it: its full path, "." and ".." resolved, so that "athena.txt:x\."
// and "athena.txt:x\y\.." are streams too, except where the system takes it as it
// stands ("\\?\", "\??\"); and in wide characters, whatever the code page cannot
// spell. False for a name of no stream, and on every other system.
bool examine_stream_file(const char *name, FileAtName *found);

// Sets the function that open_for_writing calls with the name just before it opens
// (none at start): tests use it to change what stands at the name after the checks.
void set_open_seam(void (*seam)(const char *name));

// Calls the function set_open_seam set, if any, with `name`: open_for_writing's
// first step on every system, called by each system's file calls alone.
void run_open_seam(const char *name);

// From now on a write that the system would answer with a signal fails instead, so
// that the dump reports it ("Could not write to") rather than the process ending
// without a word: a reader that leaves a pipe or FIFO early, a file that reaches the
// file-size limit (ulimit -f). Where the system has neither signal, nothing changes.
void fail_writes_instead_of_signals();

// Reads the size in bytes of the regular file that `file` is open on. False for a
// file whose size is not known before it is read: a pipe, a FIFO or a device.
bool regular_file_size(std::FILE *file, std::uint64_t *size);

#endif
