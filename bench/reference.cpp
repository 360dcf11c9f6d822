// The end-to-end benchmark's check of what it times: reads a save file with the plain
// reference load (tests/reference.h: a plain line reader and the reference scan),
// never with the tool's own reader, scanner or job table, and writes the full report
// and the load's messages (the count of characters, and the skipped lines with their
// numbers) as the tool would.
// Usage: tamsel_reference SAVE REPORT > counts
#include <cstdio>
#include <string>

#include "tests/reference.h"

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
    ReferenceLoad load = reference_load(save);
    std::fclose(save);
    static char sheet[1024];
    for (const CharacterRecord &r : load.characters) {
        int length = reference_sheet(r, sheet, sizeof sheet);
        std::fwrite(sheet, 1, static_cast<std::size_t>(length), report);
    }
    if (std::fclose(report) != 0) {
        std::perror("tamsel_reference");
        return 1;
    }
    std::string said = reference_messages(
        "athena.txt", static_cast<long long>(load.characters.size()), load.skipped, load.numbers);
    std::fputs(said.c_str(), stdout);
    return 0;
}
