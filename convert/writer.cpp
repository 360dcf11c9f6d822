// The dump writer: converts every stored line into a working buffer and writes the
// sheets that pass the filter, checking the file's state when it is closed.
#include "convert/writer.h"

#include <cstdio>
#include <cstring>

#include "app/console.h"
#include "convert/line_table.h"
#include "convert/platform.h"

namespace
{

// One report is open at a time; a large buffer turns its many sheets into few writes.
char g_report_buffer[1 << 16];

// The scan reads the first few cache lines of a stored line; asking for them a
// couple of lines ahead hides the wait for memory.
constexpr std::int32_t kPrefetchAhead = 8;

void prefetch_line(const char *line)
{
#if defined(__GNUC__)
    __builtin_prefetch(line);
    __builtin_prefetch(line + 64);
    __builtin_prefetch(line + 128);
#else
    (void)line;
#endif
}

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

// True when `file` is open on the save file: the very file the load read, or
// whatever file stands at the save file's path now, should it have been replaced
// since. Both are known by the identity of an open handle, never by name.
bool is_save_file(std::FILE *file)
{
    FileIdentity candidate;
    if (!file_identity(file, &candidate))
        return false; // no file on a disk: it cannot hold the save file's data
    FileIdentity save;
    if (save_file_identity(&save) && same_identity(candidate, save))
        return true;
    std::FILE *now = std::fopen(save_file_path(), "r");
    if (now == nullptr)
        return false;
    bool same = file_identity(now, &save) && same_identity(candidate, save);
    std::fclose(now); // read only: nothing to lose on close
    return same;
}

} // namespace

bool dump_characters(const char *report_name, FilterKind kind, std::int32_t first,
                     std::int32_t second)
{
    // Opened without being emptied: nothing of an existing file is lost until its
    // handle shows that it is not the save file.
    std::FILE *report = std::fopen(report_name, "a");
    if (report == nullptr) {
        // A save file that may not be written to cannot be opened so; reading the
        // name through the same call tells it from any other file that cannot.
        std::FILE *probe = std::fopen(report_name, "r");
        bool save = probe != nullptr && is_save_file(probe);
        if (probe != nullptr)
            std::fclose(probe); // read only: nothing to lose on close
        if (save)
            write_save_file_error(report_name);
        else
            write_name_error("\nError: Could not open or create \"", report_name, "\"!\n\n");
        return false;
    }
    if (is_save_file(report)) {
        std::fclose(report); // nothing was written
        write_save_file_error(report_name);
        return false;
    }
    if (!empty_file(report)) {
        std::fclose(report);
        write_name_error("\nError: Could not open or create \"", report_name, "\"!\n\n");
        return false;
    }
    std::setvbuf(report, g_report_buffer, _IOFBF, sizeof g_report_buffer);

    char working[kLineBufferSize];
    const LineTable &table = line_table();
    std::int32_t written_count = 0;
    for (std::int32_t i = 0; i < line_count(); ++i) {
        if (i + kPrefetchAhead < line_count())
            prefetch_line(table[i + kPrefetchAhead]);
        // The scan only reads the stored line, so the sheet goes straight into the
        // working buffer and the line is never copied or changed.
        const char *result = convert_stored_line(table[i], working, kind, first, second);
        if (equal_ignoring_case(result, kFilterSentinel))
            continue;
        std::fwrite(result, 1, std::strlen(result), report);
        ++written_count;
    }

    // A full disk shows only here: in the stream's error flag or in the last flush.
    bool failed = std::ferror(report) != 0;
    failed = std::fclose(report) != 0 || failed;
    if (failed) {
        write_name_error("\nError: Could not write to \"", report_name, "\"!\n\n");
        return false;
    }
    write_text("\nSuccessfully wrote ");
    write_text(written_count);
    write_text(" character(s) to \"");
    write_text(report_name);
    write_text("\"\n");
    return true;
}
