// The dump writer: formats the sheet of every character line that passes the
// filter and writes it, checking the file's state when it is closed.
#include "convert/writer.h"

#include <cstdio>
#include <cstring>

#include "console/console.h"
#include "convert/line_table.h"
#include "convert/platform.h"

namespace
{

// Sheets are formatted here and handed to the report in pieces of this size.
char g_sheets[1 << 16];

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
    // handle shows that it is not the save file. An existing report is written
    // over from its start and cut where the new one ends, which costs the system
    // far less than emptying it first; a new one is created.
    bool existing = true;
    std::FILE *report = std::fopen(report_name, "r+");
    if (report == nullptr) {
        existing = false;
        report = std::fopen(report_name, "a");
    }
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
    // A file that could be opened only to be added to is emptied now.
    if (!existing && !empty_file(report)) {
        std::fclose(report);
        write_name_error("\nError: Could not open or create \"", report_name, "\"!\n\n");
        return false;
    }
    // The sheets reach the file in large pieces from g_sheets: a stream buffer
    // would only copy them once more.
    std::setvbuf(report, nullptr, _IONBF, 0);

    std::int64_t written_count = 0;
    std::size_t used = 0;
    CharacterRecord record;
    // The load kept the values of every character line: a dump only filters,
    // names the job and formats.
    for (std::int64_t i = 0; i < character_count(); ++i) {
        const CharacterRecord &stored = stored_character(i);
        if (!passes_filter(stored, kind, first, second))
            continue;
        record = stored;
        job_name_for(record.class_number, record.job_name);
        if (sizeof g_sheets - used < kSheetRoom) {
            std::fwrite(g_sheets, 1, used, report);
            used = 0;
        }
        used += format_sheet(record, g_sheets + used, sizeof g_sheets - used);
        ++written_count;
    }
    std::fwrite(g_sheets, 1, used, report);
    // What an earlier, longer report left beyond the new one goes, also after a
    // failed write: the file then holds only what was written.
    bool cut = cut_file_here(report);

    // A full disk shows here: in the stream's error flag, the cut or the close.
    bool failed = std::ferror(report) != 0 || !cut;
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
