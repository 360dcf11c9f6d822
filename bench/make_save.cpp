// Writes a realistic made-up save file: make_save LINES SEED > athena.txt
// LINES counts every line, the bookkeeping last line included.
#include <cstdio>
#include <cstdlib>

#include "bench/save_generator.h"

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_save LINES SEED > athena.txt\n");
        return 2;
    }
    long lines = std::strtol(argv[1], nullptr, 10);
    if (lines < 1) {
        std::fprintf(stderr, "make_save: LINES must be at least 1\n");
        return 2;
    }
    std::string save =
        generated_save(static_cast<std::uint32_t>(lines - 1),
                       static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10)));
    if (std::fwrite(save.data(), 1, save.size(), stdout) != save.size() || std::fflush(stdout) != 0)
        return 1;
    return 0;
}
