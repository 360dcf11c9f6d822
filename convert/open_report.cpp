// The report's opening protocol: the checks of a report name before anything is
// opened for writing (the save file, a copy of it, a stream inside it), the open
// without emptying, the same checks through the open handle, and only then the
// emptying.
#include "convert/open_report.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "console/console.h"
#include "convert/conversion.h"
#include "convert/line_splitter.h"
#include "convert/loader.h"
#include "platform/files.h"

namespace
{

void write_name_error(const char *before, const char *name, const char *after)
{
    write_text(before);
    write_text(name);
    write_text(after);
}

void write_save_file_error(const char *report_name)
{
    write_name_error("\nError: \"", report_name,
                     "\" is the save file and will not be overwritten!\n\n");
}

// True when `identity` is that of the very file the load read.
bool is_loaded_file(const FileIdentity &identity)
{
    FileIdentity save;
    return save_file_identity(&save) && same_identity(identity, save);
}

// True when `identity` is the save file's: the very file the load read, or whatever
// file stands at the save file's path now, should it have been replaced since. The
// path is only examined, never opened: a save file read from a FIFO would wait.
bool is_save_file(const FileIdentity &identity)
{
    if (is_loaded_file(identity))
        return true;
    FileAtName now;
    examine_name(save_file_path(), &now);
    return now.has_identity && same_identity(identity, now.identity);
}

// A report never holds a character line, so a file whose first bytes do is a save
// file or a copy of one. Up to this many bytes are read: the cost stays small beside
// a dump, and a copy whose first lines are not character lines is let through.
constexpr std::size_t kCopyCheckSize = std::size_t{1} << 16;

// Where the copy check's reads fail, set by tests; by default nowhere.
std::size_t g_copy_check_failure = SIZE_MAX;

// The copy check's sink: stops the split at the first character line.
bool find_character_line(const char *text, std::size_t length, void *found)
{
    CharacterRecord record;
    *static_cast<bool *>(found) = is_character_line(text, length, &record);
    return !*static_cast<bool *>(found);
}

// True when one of the lines of the first `limit` bytes of `file`, split as a load
// splits them, is a character line. Read errors end it like the end of the file:
// the caller checks ferror.
bool holds_character_line(std::FILE *file, std::size_t limit)
{
    bool found = false;
    split_lines(file, limit, find_character_line, &found);
    return found;
}

// True when the regular file `found` at `name` holds a character line among its
// first kCopyCheckSize bytes, read as a load would read them: a character line
// found is a copy, whatever the reads after it do. A file that cannot be opened
// for reading, for want of permission, is not taken for a copy. Sets `*unchecked`
// when the file could not be checked: it could not be opened for another reason
// (another process holds it, the system failed), or a read failed (a locked part,
// an I/O error) before a character line was found.
bool is_save_file_copy(const char *name, const FileAtName &found, bool *unchecked)
{
    *unchecked = false;
    if (!found.regular || !found.has_identity)
        return false;
    std::FILE *file = open_examined_file(name, found.identity, unchecked);
    if (file == nullptr)
        return false;
    // No more than the file says it holds: a file under /proc says it holds nothing
    // and gives lines all the same, and reading some of them (kmsg) consumes them. A
    // copy of a save file always has a size.
    std::uint64_t size = 0;
    if (!regular_file_size(file, &size))
        size = 0;
    std::size_t limit = size < kCopyCheckSize ? static_cast<std::size_t>(size) : kCopyCheckSize;
    bool cut_short = g_copy_check_failure < limit;
    bool holds = holds_character_line(file, cut_short ? g_copy_check_failure : limit);
    *unchecked = !holds && (cut_short || std::ferror(file) != 0);
    std::fclose(file); // read only: nothing to lose on close
    return holds;
}

// True when `name` would make a stream inside the save file: the examination of the
// name itself finds nothing there, and creating it would change the save file.
bool is_stream_of_save_file(const char *name)
{
    FileAtName file;
    return examine_stream_file(name, &file) && file.has_identity && is_save_file(file.identity);
}

// Rounds of examining and opening a name whose file keeps changing under the dump.
constexpr int kOpenRounds = 3;

} // namespace

std::FILE *open_report(const char *report_name)
{
    for (int round = 0; round < kOpenRounds; ++round) {
        FileAtName found;
        examine_name(report_name, &found);
        if ((found.has_identity && is_save_file(found.identity)) ||
            is_stream_of_save_file(report_name)) {
            write_save_file_error(report_name);
            return nullptr;
        }
        bool unchecked = false;
        if (is_save_file_copy(report_name, found, &unchecked)) {
            write_name_error("\nError: \"", report_name,
                             "\" holds character lines and will not be overwritten!\n\n");
            return nullptr;
        }
        if (unchecked) // it may be a copy, so it may not be written over
            break;
        bool changed = false;
        std::FILE *report = open_for_writing(report_name, found.missing, &changed);
        if (report == nullptr && changed)
            continue;
        if (report == nullptr)
            break;
        // A file this dump created is new: it holds nothing of the save file, even
        // when it now stands at the save file's path (the save file moved away).
        // Only a stream created inside the loaded file would share its identity.
        FileAtName opened;
        examine_open_file(report, &opened);
        bool known = opened.has_identity;
        if (found.missing && !(kNewNameMayBeInAFile && known && is_loaded_file(opened.identity)))
            return report;
        if (known && is_save_file(opened.identity)) {
            std::fclose(report); // nothing was written
            write_save_file_error(report_name);
            return nullptr;
        }
        // Say a copy of the save file was put at the name after the checks, moved
        // there or written under an identity the system gave again: it is checked
        // afresh, as a file that appeared would be.
        if (!same_file_state(found, opened)) {
            std::fclose(report); // nothing was written
            continue;
        }
        if (truncate_to_empty(report))
            return report;
        std::fclose(report);
        break;
    }
    write_open_or_create_error(report_name, std::strlen(report_name));
    return nullptr;
}

void write_open_or_create_error(const char *name, std::size_t length)
{
    write_text("\nError: Could not open or create \"");
    write_text(name, length);
    write_text("\"!\n\n");
}

void set_copy_check_failure(std::size_t bytes)
{
    g_copy_check_failure = bytes;
}
