// Fuzz target: arbitrary bytes as a save file, loaded and converted under every
// filter; every result must be the sentinel or a well-formed sheet.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "app/console.h"
#include "convert/conversion.h"
#include "convert/line_table.h"

namespace {

std::string scratch_file()
{
    char folder[] = "/tmp/tamsel-fuzz-conversion-XXXXXX";
    if (mkdtemp(folder) == nullptr)
        std::abort();
    return std::string(folder) + "/athena.txt";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const std::string path = scratch_file();
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0)
        std::abort();

    std::istringstream in;
    std::ostringstream out;
    console_attach(in, out);
    if (!load_save_file(path.c_str()))
        std::abort();
    if (line_count() < 0 || line_count() > kLineSlots)
        std::abort();

    const FilterKind kinds[] = {FilterKind::none, FilterKind::account, FilterKind::job,
                                FilterKind::zeny_range};
    static char buffer[kLineBufferSize];
    for (std::int32_t i = 0; i < line_count(); ++i) {
        if (std::strlen(line_table()[i]) > kLineLimit)
            std::abort();
        for (FilterKind kind : kinds) {
            std::strcpy(buffer, line_table()[i]);
            const char *result = convert_line(buffer, kind, 0, 1000);
            if (result == kFilterSentinel)
                continue;
            if (result != buffer || std::strncmp(buffer, "--------- ", 10) != 0 ||
                std::strlen(buffer) > 600)
                std::abort();
            // Whatever passes a filter also passes none: the record is the same.
            if (!passes_filter(character_record(), FilterKind::none, 0, 0))
                std::abort();
        }
    }
    return 0;
}
