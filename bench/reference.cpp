// The end-to-end benchmark's check of what it times: reads a save file with a plain
// line reader (at most 6143 characters up to a line feed, text mode), converts each
// line with the plain reference (tests/reference_sheet.h), never with the tool's own
// scanner or job table, and writes the full report and the load's two counts as the
// tool would. Usage: tamsel_reference SAVE REPORT > counts
#include <cstdio>
#include <string>

#include "tests/reference_sheet.h"

namespace
{

constexpr std::size_t kLineLimit = 6143;

// Reads the next stored line into `line`; false at the end of the file. `cut` says
// whether it ended without its line feed after kLineLimit characters.
bool read_line(std::FILE *file, std::string &line, bool &cut)
{
    line.clear();
    cut = false;
    int c = 0;
    while (line.size() < kLineLimit && (c = std::getc(file)) != EOF && c != '\n')
        line += static_cast<char>(c);
    if (line.size() == kLineLimit) {
        cut = true;
        return true;
    }
    return c == '\n' || !line.empty();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: tamsel_reference SAVE REPORT > counts\n");
        return 2;
    }
    std::FILE *save = std::fopen(argv[1], "r");
    std::FILE *report = std::fopen(argv[2], "w");
    if (save == nullptr || report == nullptr) {
        std::perror("tamsel_reference");
        return 2;
    }
    long long characters = 0, file_lines = 0, sheet_lines = 0;
    bool continued = false, gives_sheet = false, cut = false;
    std::string line;
    static char sheet[1024];
    while (read_line(save, line, cut)) {
        if (!continued) {
            ++file_lines;
            gives_sheet = false;
        }
        continued = cut;
        CharacterRecord r = {};
        // The text ends at a NUL, as the tool stores it.
        if (!reference_character(line.c_str(), r))
            continue;
        ++characters;
        if (!gives_sheet)
            ++sheet_lines;
        gives_sheet = true;
        reference_job_name(r.class_number, r.job_name);
        int length = reference_sheet(r, sheet, sizeof sheet);
        std::fwrite(sheet, 1, static_cast<std::size_t>(length), report);
    }
    std::fclose(save);
    if (std::fclose(report) != 0) {
        std::perror("tamsel_reference");
        return 1;
    }
    std::printf("Successfully read %lld character(s) from \"athena.txt\"\n", characters);
    if (file_lines > sheet_lines)
        std::printf("Skipped %lld line(s) that are not character lines\n",
                    file_lines - sheet_lines);
    return 0;
}
