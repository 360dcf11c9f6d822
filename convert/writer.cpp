// The dump writer: formats the sheet of every kept character that passes the filter
// and writes it to the report that open_report opened, then checks that every byte
// reached the file before it counts them as written.
#include "convert/writer.h"

#include <cstdio>
#include <cstring>

#include "console/console.h"
#include "convert/loader.h"
#include "convert/open_report.h"

namespace
{

// Sheets are formatted here and reach the report in pieces of kWritePiece bytes, so
// that each write but the last starts and ends at a multiple of it in the file: a
// sheet that runs past a piece's end is finished in the room after it, and what
// runs past moves to the start of the next piece.
constexpr std::size_t kWritePiece = std::size_t{1} << 16;
char g_sheets[kWritePiece + kSheetRoom];

} // namespace

bool dump_characters(const char *report_name, FilterKind kind, std::int32_t first,
                     std::int32_t second)
{
    std::FILE *report = open_report(report_name);
    if (report == nullptr)
        return false;
    // The sheets reach the file in large pieces from g_sheets: a stream buffer
    // would only copy them once more.
    std::setvbuf(report, nullptr, _IONBF, 0);

    std::int64_t written_count = 0;
    std::size_t used = 0;
    CharacterRecord record;
    // The load kept the values of every character line: a dump only filters,
    // names the job and formats.
    for (std::int64_t i = 0; i < character_count(); ++i) {
        stored_character(i, &record);
        if (!passes_filter(record, kind, first, second))
            continue;
        job_name_for(record.class_number, record.job_name);
        used += format_sheet(record, g_sheets + used, sizeof g_sheets - used);
        ++written_count;
        if (used >= kWritePiece) {
            std::fwrite(g_sheets, 1, kWritePiece, report);
            used -= kWritePiece;
            std::memcpy(g_sheets, g_sheets + kWritePiece, used);
        }
    }
    std::fwrite(g_sheets, 1, used, report);

    // A full disk shows here: in the stream's error flag or the close.
    bool failed = std::ferror(report) != 0;
    failed = std::fclose(report) != 0 || failed;
    if (failed) {
        write_text("\nError: Could not write to \"");
        write_text(report_name);
        write_text("\"!\n\n");
        return false;
    }
    write_text("\nSuccessfully wrote ");
    write_text(written_count);
    write_text(" character(s) to \"");
    write_text(report_name);
    write_text("\"\n");
    return true;
}
