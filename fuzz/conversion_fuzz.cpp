// Fuzz target: arbitrary bytes as a save file, loaded; the load's messages, every
// line's scan, every kept value, and what a dump makes of them under every filter
// (the verdict, the job and the sheet) must be the plain reference's.
#include <unistd.h>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "console/console.h"
#include "convert/conversion.h"
#include "convert/line_splitter.h"
#include "convert/loader.h"
#include "tests/reference.h"

namespace
{

struct FilterTrial {
    FilterKind kind;
    std::int32_t first;
    std::int32_t second;
};

// The filter table, written out plainly: which characters each kind keeps.
bool reference_keeps(const CharacterRecord &r, const FilterTrial &trial)
{
    if (trial.kind == FilterKind::account)
        return r.account_id == trial.first;
    if (trial.kind == FilterKind::job)
        return r.class_number == trial.first;
    if (trial.kind == FilterKind::zeny_range)
        return trial.first < r.zeny && r.zeny < trial.second;
    return true;
}

std::int32_t wrapped(std::int32_t value, std::int32_t step)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value) +
                                     static_cast<std::uint32_t>(step));
}

bool collect_piece(const char *text, std::size_t length, void *pieces)
{
    if (std::strlen(text) > length || length > kLineLimit)
        std::abort();
    static_cast<std::vector<std::string> *>(pieces)->emplace_back(text);
    return true;
}

char g_folder[] = "/tmp/tamsel-fuzz-conversion-XXXXXX";

// The scratch folder goes when the run ends: every run of the fuzzer makes one.
void remove_folder()
{
    std::error_code ignored;
    std::filesystem::remove_all(g_folder, ignored);
}

std::string scratch_file()
{
    if (mkdtemp(g_folder) == nullptr)
        std::abort();
    std::atexit(remove_folder);
    return std::string(g_folder) + "/athena.txt";
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
    // The load's count and skipped line numbers are the plain reading's.
    file = std::fopen(path.c_str(), "r");
    if (file == nullptr)
        std::abort();
    ReferenceLoad expected = reference_load(file);
    std::fclose(file);
    if (out.str() != reference_messages(path, static_cast<long long>(expected.characters.size()),
                                        expected.skipped, expected.numbers))
        std::abort();
    // The pieces the load saw, split again through reads of a size the input picks,
    // so that every rule meets the edge of a read.
    std::vector<std::string> pieces;
    set_read_piece_size(size > 0 ? 1 + data[size - 1] % 97 : 1);
    file = std::fopen(path.c_str(), "r");
    if (file == nullptr || !split_lines(file, SIZE_MAX, collect_piece, &pieces))
        std::abort();
    std::fclose(file);
    set_read_piece_size(0);
    if (character_count() < 0 || static_cast<std::size_t>(character_count()) > pieces.size())
        std::abort();
    std::int64_t characters = 0; // character lines seen so far

    // Filter values from the input's first bytes, so that the fuzzer steers them too.
    std::int32_t fuzzed[2] = {0, 1000};
    if (size >= sizeof fuzzed)
        std::memcpy(fuzzed, data, sizeof fuzzed);
    for (const std::string &piece : pieces) {
        const char *line = piece.c_str();
        // The scan and the reference agree on the verdict and on every value.
        CharacterRecord fast = {}, slow = {};
        bool is_character = scan_character_line(line, &fast);
        if (is_character != reference_character(line, slow))
            std::abort();
        if (!is_character)
            continue;
        if (!same_values(fast, slow))
            std::abort();
        // What a dump makes of the values the load kept for this line.
        if (characters >= character_count())
            std::abort();
        CharacterRecord kept = {};
        stored_character(characters++, &kept);
        job_name_for(kept.class_number, kept.job_name);
        reference_job_name(slow.class_number, slow.job_name);
        if (!same_values(kept, slow) || std::strcmp(kept.job_name, slow.job_name) != 0)
            std::abort();
        char mine[kSheetRoom], theirs[kSheetRoom];
        format_sheet(kept, mine, sizeof mine);
        reference_sheet(slow, theirs, sizeof theirs);
        if (std::strcmp(mine, theirs) != 0)
            std::abort();
        // Every kind, with the fuzzed values, with values this character passes,
        // with values next to them, and with its zeny as a bound (a strict range).
        const std::int32_t zeny_below = wrapped(slow.zeny, -1), zeny_above = wrapped(slow.zeny, 1);
        const FilterTrial trials[] = {
            {FilterKind::none, fuzzed[0], fuzzed[1]},
            {FilterKind::account, fuzzed[0], fuzzed[1]},
            {FilterKind::account, slow.account_id, 0},
            {FilterKind::account, wrapped(slow.account_id, 1), 0},
            {FilterKind::job, fuzzed[0], fuzzed[1]},
            {FilterKind::job, slow.class_number, 0},
            {FilterKind::job, wrapped(slow.class_number, -1), 0},
            {FilterKind::zeny_range, fuzzed[0], fuzzed[1]},
            {FilterKind::zeny_range, zeny_below, zeny_above},
            {FilterKind::zeny_range, slow.zeny, zeny_above},
            {FilterKind::zeny_range, zeny_below, slow.zeny},
        };
        for (const FilterTrial &trial : trials) {
            if (passes_filter(kept, trial.kind, trial.first, trial.second) !=
                reference_keeps(slow, trial))
                std::abort();
        }
    }
    if (characters != character_count())
        std::abort();
    return 0;
}
