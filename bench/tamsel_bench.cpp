// Benchmarks of the path a character line takes (the scan at load time, the filter,
// job and sheet at dump time), the loader and the dump writer on realistic lines,
// with a sscanf + snprintf reference doing the same work for comparison.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "bench/save_generator.h"
#include "console/console.h"
#include "convert/conversion.h"
#include "convert/loader.h"
#include "convert/writer.h"
#include "tests/reference.h"

namespace
{

constexpr std::uint32_t kSeed = 20261207;
constexpr std::uint32_t kFileLines = 10240;
// Per-line benchmarks run on 64 lines (160 KB, warm in the cache) and on 1024 lines
// (2.5 MB, from memory rather than the cache).
constexpr std::uint32_t kSampleLines = 1024;

const std::vector<std::string> &all_sample_lines()
{
    static const std::vector<std::string> lines = [] {
        std::mt19937 random(kSeed);
        std::vector<std::string> made;
        for (std::uint32_t i = 0; i < kSampleLines; ++i)
            made.push_back(generated_line(random, 150000 + i));
        return made;
    }();
    return lines;
}

// The first `count` of kSampleLines generated lines.
std::vector<std::string> sample_lines(std::int64_t count)
{
    std::vector<std::string> lines = all_sample_lines();
    lines.resize(static_cast<std::size_t>(count));
    return lines;
}

// A 10240-line save file in the temporary folder, made once.
const std::string &save_path()
{
    static const std::string path = [] {
        std::string file =
            (std::filesystem::temp_directory_path() / "tamsel-bench-athena.txt").string();
        std::ofstream(file, std::ios::binary) << generated_save(kFileLines - 1, kSeed);
        return file;
    }();
    return path;
}

std::ostream &quiet()
{
    static std::ostream null_stream(nullptr);
    return null_stream;
}

// What a load and a full dump run per character line, on the path they take: the
// scan of the line where the read left it, then the filter, the job and the sheet of
// its values.
void BM_ScanFilterAndSheet(benchmark::State &state)
{
    const std::vector<std::string> lines = sample_lines(state.range(0));
    CharacterRecord record;
    static char sheet[kSheetRoom];
    std::size_t i = 0;
    for (auto _ : state) {
        const std::string &line = lines[i++ % lines.size()];
        if (scan_character_line(line.c_str(), &record) &&
            passes_filter(record, FilterKind::none, 0, 0)) {
            job_name_for(record.class_number, record.job_name);
            benchmark::DoNotOptimize(format_sheet(record, sheet, sizeof sheet));
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ScanFilterAndSheet)->Arg(64)->Arg(1024);

// Its two halves: the scan of a line where the read left it, at load time, and the
// sheet of a character's values, at dump time.
void BM_ScanCharacterLine(benchmark::State &state)
{
    const std::vector<std::string> lines = sample_lines(state.range(0));
    CharacterRecord record;
    std::size_t i = 0;
    for (auto _ : state) {
        const std::string &line = lines[i++ % lines.size()];
        benchmark::DoNotOptimize(scan_character_line(line.c_str(), &record));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ScanCharacterLine)->Arg(64)->Arg(1024);

void BM_FormatSheet(benchmark::State &state)
{
    const std::vector<std::string> lines = sample_lines(state.range(0));
    std::vector<CharacterRecord> records(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        scan_character_line(lines[i].c_str(), &records[i]);
        job_name_for(records[i].class_number, records[i].job_name);
    }
    static char out[kSheetRoom];
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(format_sheet(records[i++ % records.size()], out, sizeof out));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatSheet)->Arg(64)->Arg(1024);

// The same work with the C library: scan with the pattern, format with the format.
void BM_SscanfSnprintfReference(benchmark::State &state)
{
    const std::vector<std::string> lines = sample_lines(state.range(0));
    static char sheet[kSheetRoom];
    CharacterRecord r = {};
    std::size_t i = 0;
    for (auto _ : state) {
        const std::string &line = lines[i++ % lines.size()];
        std::sscanf(line.c_str(),
                    "%d\t%d,%d\t%31s\t%d,%d,%d\t%d,%d,%d\t%d,%d,%d,%d\t%d,%d,%d,%d,%d,%d\t%d,%d",
                    &r.character_id, &r.account_id, &r.slot, r.name, &r.class_number, &r.base_level,
                    &r.job_level, &r.base_exp, &r.job_exp, &r.zeny, &r.hp, &r.max_hp, &r.sp,
                    &r.max_sp, &r.stat_str, &r.stat_agi, &r.stat_vit, &r.stat_int, &r.stat_dex,
                    &r.stat_luk, &r.status_points, &r.skill_points);
        job_name_for(r.class_number, r.job_name);
        reference_sheet(r, sheet, sizeof sheet);
        benchmark::DoNotOptimize(sheet);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SscanfSnprintfReference)->Arg(64)->Arg(1024);

void BM_Load10240Lines(benchmark::State &state)
{
    std::istringstream in;
    console_attach(in, quiet());
    const std::string &path = save_path();
    for (auto _ : state)
        benchmark::DoNotOptimize(load_save_file(path.c_str()));
    state.SetItemsProcessed(state.iterations() * kFileLines);
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_Load10240Lines)->Unit(benchmark::kMillisecond);

void dump(benchmark::State &state, FilterKind kind, std::int32_t first)
{
    std::istringstream in;
    console_attach(in, quiet());
    load_save_file(save_path().c_str());
    std::string report =
        (std::filesystem::temp_directory_path() / "tamsel-bench-report.txt").string();
    for (auto _ : state)
        benchmark::DoNotOptimize(dump_characters(report.c_str(), kind, first, 0));
    state.SetItemsProcessed(state.iterations() * kFileLines);
    std::remove(report.c_str());
}

void BM_DumpFull10240Lines(benchmark::State &state)
{
    dump(state, FilterKind::none, 0);
}
BENCHMARK(BM_DumpFull10240Lines)->Unit(benchmark::kMillisecond);

void BM_DumpFiltered10240Lines(benchmark::State &state)
{
    dump(state, FilterKind::job, 7);
}
BENCHMARK(BM_DumpFiltered10240Lines)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
