// Tests of the save-file loader: what a load counts, keeps, numbers and refuses.
#include "convert/loader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "convert/line_splitter.h"
#include "tests/reference.h"
#include "tests/test_support.h"

namespace
{

const std::string kCharacter = character_line(test_character());

const std::string kFirstTen = "1, 2, 3, 4, 5, 6, 7, 8, 9, 10";

std::vector<CharacterRecord> kept_values()
{
    std::vector<CharacterRecord> values(static_cast<std::size_t>(character_count()));
    for (std::size_t i = 0; i < values.size(); ++i)
        stored_character(static_cast<std::int64_t>(i), &values[i]);
    return values;
}

// Loads `bytes` from a scratch file; returns the console output.
std::string load_bytes(const std::string &bytes, std::string *path_out = nullptr)
{
    std::string path = make_scratch_folder() + "/athena.txt";
    write_file(path, bytes);
    if (path_out != nullptr)
        *path_out = path;
    CapturedConsole console;
    EXPECT_TRUE(load_save_file(path.c_str()));
    return console.output();
}

TEST(LoadSaveFile, CountsCharacterLinesAndReportsTheOthers)
{
    std::string path;
    std::string output =
        load_bytes(kCharacter + "\n\n" + kCharacter + "\r\ngarbage\n150\t%newid%\n", &path);
    EXPECT_EQ(output, "Successfully read 2 character(s) from \"" + path +
                          "\"\nSkipped 3 line(s) that are not character lines: 2, 4, 5\n");
    output = load_bytes(kCharacter + "\n", &path);
    EXPECT_EQ(output, "Successfully read 1 character(s) from \"" + path + "\"\n");
    output = load_bytes("", &path);
    EXPECT_EQ(output, "Successfully read 0 character(s) from \"" + path + "\"\n");
}

// Counts and numbers are in the file's own lines: a cut line's pieces, and the empty
// piece after a line of exactly kLineLimit characters, belong to their line.
TEST(LoadSaveFile, CountsAndNumbersTheSkippedLinesOfTheFile)
{
    const std::string padded =
        kCharacter + "\t" + std::string(kLineLimit - kCharacter.size() - 1, 'p');
    const std::string other = std::string(kLineLimit, 'o');
    struct Row {
        const char *label;
        std::string bytes;
        std::int64_t characters;
        std::int64_t skipped;
        std::string numbers;
    };
    const Row rows[] = {
        {"6143 + 857, a character", padded + std::string(857, 'p') + "\n", 1, 0, ""},
        {"6143 + 857, no character", other + std::string(857, 'o') + "\n", 0, 1, "1"},
        {"rest is a character", other + kCharacter + "\n", 1, 0, ""},
        {"exactly 6143 and a LF", padded + "\n" + kCharacter + "\n", 2, 0, ""},
        {"exactly 6143, no character", other + "\n" + kCharacter + "\n", 1, 1, "1"},
#ifndef _WIN32
        {"6142 and a CR LF", padded.substr(0, kLineLimit - 1) + "\r\n" + kCharacter + "\n", 2, 0,
         ""},
#endif
        {"a NUL", kCharacter + std::string("\0", 1) + "\t" + other + "\nx\n", 1, 1, "2"},
        {"last line without a LF", "x\n" + kCharacter + "\ny", 1, 2, "1, 3"},
        {"three pieces", "x\n" + other + other + "x\ny\n", 0, 3, "1, 2, 3"},
        {"exactly 10", kCharacter + std::string(11, '\n'), 1, 10, "2, 3, 4, 5, 6, 7, 8, 9, 10, 11"},
        {"exactly 11", std::string(11, '\n') + kCharacter, 1, 11, kFirstTen + " and 1 more"},
        {"CR LF", "x\r\n" + kCharacter + "\r\n\r\ny\r\n", 1, 3, "1, 3, 4"},
        {"a byte order mark first", "\xef\xbb\xbf" + kCharacter + "\n" + kCharacter, 1, 1, "1"},
        {"the shortest character line", "1\t2,3N\t4,5,6\t7,8,9\t1,2,3,4\t1,2,3,4,5,6\t1,2\n", 1, 0,
         ""},
    };
    for (const Row &row : rows) {
        std::string path;
        std::string output = load_bytes(row.bytes, &path);
        EXPECT_EQ(output, reference_messages(path, row.characters, row.skipped, row.numbers))
            << row.label;
    }
}

// `count` lines of characters whose values vary with their number (known and unknown
// classes, names with spaces, zeny of either sign), each ended by `end`; with a
// `length`, each is padded to it, and every seventh is no character line.
std::string varied_lines(std::size_t count, std::size_t length, const char *end)
{
    static const std::int32_t kClasses[] = {0, 7, 23, 24, 4001, 4008, 4023, 4024, -1};
    auto value = [](std::size_t v) { return static_cast<std::int32_t>(v); };
    std::string bytes;
    for (std::size_t i = 0; i < count; ++i) {
        std::string name = (i % 4 == 0 ? "Sir N " : "N") + std::to_string(i);
        std::string line =
            character_line(test_character(value(150000 + i), value(i % 997), name.c_str(),
                                          kClasses[i % 9], value(i * 2654435761u)));
        if (length > 0)
            line = i % 7 == 6 ? std::string(length, 'o')
                              : (line + "\t").append(length - line.size() - 1, 'p');
        bytes += line + end;
    }
    return bytes;
}

// The values the load keeps, in file order, are the plain reference reading of the
// same file, on either side of the ends of the blocks that keep them, and so are its
// counts and skipped line numbers. Each row's file is made when the row runs.
TEST(LoadSaveFile, KeepsEveryCharacterAsTheReferenceReadsIt)
{
    const std::size_t second = kFirstBlockCharacters + kBlockCharacters; // two blocks, full
    const struct {
        const char *label;
        std::size_t count, length; // varied_lines(count, length, end)
        const char *end;
        bool last_feed; // the last line keeps its line feed
        std::string after;
    } rows[] = {
        {"6000 characters with groups after their 22 values", 6000, 200, "\n", true, ""},
        // A whole file in cut pieces, then in the longest lines that leave no empty
        // piece, then in lines of exactly the limit, each followed by an empty piece.
        {"one line of 10241 cut pieces", 10241, kLineLimit, "", true, std::string(100, '#')},
        {"10241 lines of 6142 characters", 10241, kLineLimit - 1, "\n", true, ""},
        {"5121 lines of exactly 6143 characters", 5121, kLineLimit, "\n", true, ""},
        {"one character", 1, 0, "\n", false, ""},
        {"the first block less one", kFirstBlockCharacters - 1, 0, "\n", true, ""},
        {"the first block, full", kFirstBlockCharacters, 0, "\n", true, ""},
        {"the first block and one", kFirstBlockCharacters + 1, 0, "\n", true, ""},
        {"a 2 MiB block less one", second - 1, 0, "\n", true, ""},
        {"a 2 MiB block less one, the last without a feed", second - 1, 0, "\n", false, ""},
        {"a 2 MiB block, full", second, 0, "\n", true, ""},
        {"a 2 MiB block, full, the last without a feed", second, 0, "\n", false, ""},
        {"a 2 MiB block and one", second + 1, 0, "\n", true, ""},
        {"a 2 MiB block and one, the last without a feed", second + 1, 0, "\n", false, ""},
        {"three 2 MiB blocks and one", second + 2 * kBlockCharacters + 1, 0, "\n", true, ""},
    };
    for (const auto &row : rows) {
        std::string bytes = varied_lines(row.count, row.length, row.end);
        if (!row.last_feed)
            bytes.pop_back();
        std::string path;
        std::string said = load_bytes(bytes + row.after, &path);
        std::FILE *file = std::fopen(path.c_str(), "r");
        ASSERT_NE(file, nullptr) << row.label;
        ReferenceLoad expected = reference_load(file);
        std::fclose(file);
        std::filesystem::remove(path); // the rows' files add up to some 170 MB
        EXPECT_EQ(said, reference_messages(path, static_cast<long long>(expected.characters.size()),
                                           expected.skipped, expected.numbers))
            << row.label;
        std::vector<CharacterRecord> kept = kept_values();
        ASSERT_EQ(kept.size(), expected.characters.size()) << row.label;
        for (std::size_t i = 0; i < kept.size(); ++i) {
            if (!same_values(kept[i], expected.characters[i])) {
                ADD_FAILURE() << row.label << ": character " << i << " is kept as\n"
                              << character_sheet(kept[i]) << "but reads as\n"
                              << character_sheet(expected.characters[i]);
                break;
            }
        }
    }
}

#ifndef _WIN32
// A FIFO is read like a regular file: the result must be that of the same file.
TEST(LoadSaveFile, ReadsAFifoLikeTheSameRegularFile)
{
    std::string bytes;
    for (int i = 0; bytes.size() < (std::size_t{9} << 20); ++i)
        bytes += i % 7 == 0 ? std::string(7000, 'w') + "\n" : kCharacter + "\n";
    std::string regular_path;
    std::string regular = load_bytes(bytes, &regular_path);
    std::vector<CharacterRecord> regular_values = kept_values();

    std::string fifo = make_scratch_folder() + "/athena.txt";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0) << fifo;
    std::thread server([&] { write_file(fifo, bytes); });
    CapturedConsole console;
    bool loaded = load_save_file(fifo.c_str());
    server.join();
    EXPECT_TRUE(loaded);
    std::string said = console.output();
    said.replace(said.find(fifo), fifo.size(), regular_path);
    EXPECT_EQ(said, regular) << "the FIFO's counts differ";
    std::vector<CharacterRecord> values = kept_values();
    ASSERT_EQ(values.size(), regular_values.size());
    EXPECT_EQ(std::memcmp(values.data(), regular_values.data(), values.size() * sizeof values[0]),
              0);
}

#if defined(__SANITIZE_ADDRESS__)
#define TAMSEL_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TAMSEL_ADDRESS_SANITIZER 1
#endif
#endif

// A file whose values the memory cannot hold is refused whole, in a child whose
// address space is limited to a little above what it uses already: the first blocks
// are given, a later one is refused, and nothing is kept, the blocks given back.
TEST(LoadSaveFile, RefusesAFileTooLargeForTheMemory)
{
#ifdef TAMSEL_ADDRESS_SANITIZER
    GTEST_SKIP() << "the address sanitizer needs its own address space: no limit can be set";
#else
    std::string path = make_scratch_folder() + "/athena.txt";
    std::string bytes;
    for (int i = 0; i < 600000; ++i) // 66 MiB of values: more than earlier tests left free
        bytes += kCharacter + "\n";
    write_file(path, bytes);
    int status = 0;
    std::string said = run_in_child(
        [&] {
            CapturedConsole console;
            load_save_file("/dev/null"); // frees what earlier loads kept, then says nothing
            rlim_t pages = 0, pages_after = 0;
            std::ifstream("/proc/self/statm") >> pages;
            rlim_t page = static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
            rlim_t room = pages * page + (rlim_t{16} << 20);
            rlimit limit = {room, room};
            console.out.str("");
            bool loaded = setrlimit(RLIMIT_AS, &limit) == 0 && load_save_file(path.c_str());
            std::ifstream("/proc/self/statm") >> pages_after;
            bool kept_a_block =
                pages_after > pages && (pages_after - pages) * page >= kLargeBlockSize;
            return (loaded ? "loaded " : "refused ") + std::to_string(character_count()) +
                   (kept_a_block ? " with a block kept" : "") + save_file_path() + console.output();
        },
        &status);
    EXPECT_EQ(said, "refused 0\nError: \"" + path + "\" is too large to load!\n\n");
#endif
}
#endif

// A failed load ends the earlier one: nothing of it is kept, and neither its path
// nor its file can stand for the save file afterwards.
TEST(LoadSaveFile, PathsThatCannotBeOpenedEndTheEarlierLoad)
{
    std::string folder = make_scratch_folder();
    // A path the load could not keep whole is refused even where the file exists.
    std::string deep = folder;
    while (deep.size() < kPathSize)
        deep += "/" + std::string(200, 'd');
    std::filesystem::create_directories(deep);
    write_file(deep + "/athena.txt", kCharacter + "\n");
    const std::string paths[] = {folder, folder + "/missing.txt", folder + "/no/such.txt", "",
                                 deep + "/athena.txt"};
    for (const std::string &path : paths) {
        load_bytes(kCharacter + "\n");
        CapturedConsole console;
        EXPECT_FALSE(load_save_file(path.c_str())) << path;
        EXPECT_EQ(console.output(), "\nError: Could not open \"" + path + "\"!\n\n");
        FileIdentity identity;
        EXPECT_EQ(character_count(), 0) << path;
        EXPECT_STREQ(save_file_path(), "") << path;
        EXPECT_FALSE(save_file_identity(&identity)) << path;
    }
}

} // namespace
