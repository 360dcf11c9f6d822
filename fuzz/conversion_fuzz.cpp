// Fuzz target: arbitrary bytes as a save file, loaded and converted under every
// filter; every result must be the sentinel or a well-formed sheet.
#include <unistd.h>

#include <cctype>
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
#include "tests/reference_sheet.h"

namespace
{

// A plain reference for the scan rules, written without regard to speed: the
// pattern's values in order, a name as one word or else up to the next tab.
bool space(unsigned char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool reference_scan(const char *line, CharacterRecord &r, bool name_to_tab)
{
    std::int32_t *numbers[] = {&r.character_id, &r.account_id, &r.slot,     &r.class_number,
                               &r.base_level,   &r.job_level,  &r.base_exp, &r.job_exp,
                               &r.zeny,         &r.hp,         &r.max_hp,   &r.sp,
                               &r.max_sp,       &r.stat_str,   &r.stat_agi, &r.stat_vit,
                               &r.stat_int,     &r.stat_dex,   &r.stat_luk, &r.status_points,
                               &r.skill_points};
    const char *pattern = "d\td,d\ts\td,d,d\td,d,d\td,d,d,d\td,d,d,d,d,d\td,d";
    const unsigned char *p = reinterpret_cast<const unsigned char *>(line);
    int next = 0;
    for (const char *f = pattern; *f; ++f) {
        if (*f == '\t') {
            while (space(*p))
                ++p;
        } else if (*f == ',') {
            if (*p != ',')
                return false;
            ++p;
        } else if (*f == 'd') {
            while (space(*p))
                ++p;
            bool negative = *p == '-';
            if (*p == '-' || *p == '+')
                ++p;
            if (!std::isdigit(*p))
                return false;
            std::uint64_t value = 0;
            while (std::isdigit(*p))
                value = (value * 10 + (*p++ - '0')) & 0xffffffffu;
            if (negative)
                value = (0x100000000u - value) & 0xffffffffu;
            *numbers[next++] = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
        } else {
            while (space(*p))
                ++p;
            if (*p == '\0')
                return false;
            std::string name;
            if (name_to_tab) {
                while (*p && *p != '\t')
                    name += static_cast<char>(*p++);
                while (!name.empty() && space(static_cast<unsigned char>(name.back())))
                    name.pop_back();
            } else {
                while (*p && !space(*p))
                    name += static_cast<char>(*p++);
            }
            name = name.substr(0, kNameSize - 1);
            std::strcpy(r.name, name.c_str());
        }
    }
    return true;
}

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
        // The fast scan and the reference agree on the verdict and on every value.
        CharacterRecord fast = {}, slow = {};
        bool is_character = scan_character_line(line_table()[i], &fast);
        bool expected = reference_scan(line_table()[i], slow, false) ||
                        reference_scan(line_table()[i], slow, true);
        if (is_character != expected)
            std::abort();
        if (is_character) {
            job_name_for(slow.class_number, slow.job_name);
            job_name_for(fast.class_number, fast.job_name);
            char mine[kLineBufferSize], theirs[kLineBufferSize];
            format_sheet(fast, mine, sizeof mine);
            reference_sheet(slow, theirs, sizeof theirs);
            if (std::strcmp(mine, theirs) != 0)
                std::abort();
        }
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
