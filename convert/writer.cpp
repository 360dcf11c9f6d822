// The dump writer: converts every stored line into a working buffer and writes the
// sheets that pass the filter, checking the file's state when it is closed.
#include "convert/writer.h"

#include <cstdio>
#include <cstring>

#include "app/console.h"
#include "convert/line_table.h"
#include "convert/platform.h"

namespace {

void write_name_error(const char *before, const char *name, const char *after)
{
    write_text(before);
    write_text(name);
    write_text(after);
}

} // namespace

bool dump_characters(const char *report_name, FilterKind kind, std::int32_t first,
                     std::int32_t second)
{
    // Opening the save file for writing would empty it before a single line is read.
    if (same_file(report_name, save_file_path())) {
        write_name_error("\nError: \"", report_name,
                         "\" is the save file and will not be overwritten!\n\n");
        return false;
    }
    std::FILE *report = std::fopen(report_name, "w");
    if (report == nullptr) {
        write_name_error("\nError: Could not open or create \"", report_name, "\"!\n\n");
        return false;
    }

    char working[kLineBufferSize];
    const LineTable &table = line_table();
    std::int32_t written_count = 0;
    for (std::int32_t i = 0; i < line_count(); ++i) {
        std::size_t length = std::strlen(table[i]);
        std::memcpy(working, table[i], length + 1);
        const char *result = convert_line(working, kind, first, second);
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
