// The end-to-end benchmark's check of what it times: reads a save file with a plain
// line reader (at most 6143 characters up to a line feed, text mode), converts each
// line with the plain reference (tests/reference_sheet.h), never with the tool's own
// scanner or job table, and writes the full report and the load's messages (the
// count of characters, and the skipped lines with their numbers) as the tool would.
// Usage: tamsel_reference SAVE REPORT > counts
#include <cstdio>
#include <string>
#include <vector>

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
    long long characters = 0, file_lines = 0, skipped = 0;
    // The numbers of the first skipped lines, as many as the message names.
    constexpr std::size_t kNamed = 10;
    std::vector<long long> named;
    bool continued = false, gives_sheet = true, cut = false;
    // A file line is skipped when none of its stored lines gave a sheet, which is
    // known only once the next file line starts or the file ends.
    auto end_file_line = [&]() {
        if (gives_sheet)
            return;
        ++skipped;
        if (named.size() < kNamed)
            named.push_back(file_lines);
    };
    std::string line;
    static char sheet[1024];
    while (read_line(save, line, cut)) {
        // The rest of a cut line (even the empty one after exactly kLineLimit
        // characters) belongs to the file line where it started.
        if (!continued) {
            end_file_line();
            ++file_lines;
            gives_sheet = false;
        }
        continued = cut;
        CharacterRecord r = {};
        // The text ends at a NUL, as the tool stores it.
        if (!reference_character(line.c_str(), r))
            continue;
        ++characters;
        gives_sheet = true;
        reference_job_name(r.class_number, r.job_name);
        int length = reference_sheet(r, sheet, sizeof sheet);
        std::fwrite(sheet, 1, static_cast<std::size_t>(length), report);
    }
    end_file_line();
    std::fclose(save);
    if (std::fclose(report) != 0) {
        std::perror("tamsel_reference");
        return 1;
    }
    std::printf("Successfully read %lld character(s) from \"athena.txt\"\n", characters);
    if (skipped > 0) {
        std::printf("Skipped %lld line(s) that are not character lines: ", skipped);
        for (std::size_t i = 0; i < named.size(); ++i)
            std::printf(i == 0 ? "%lld" : ", %lld", named[i]);
        if (skipped > static_cast<long long>(kNamed))
            std::printf(" and %lld more", skipped - static_cast<long long>(kNamed));
        std::printf("\n");
    }
    return 0;
}
