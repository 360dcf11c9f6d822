// Tests of the save-file loader: how the file's bytes become stored lines.
#include "convert/line_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#endif

#include "tests/test_support.h"

namespace
{

const std::string kCharacter = "1\t2,3\tN\t4,5,6\t7,8,9\t10,11,12,13\t14,15,16,17,18,19\t20,21";

std::vector<std::string> stored_lines()
{
    std::vector<std::string> lines;
    for (std::int64_t i = 0; i < line_count(); ++i)
        lines.emplace_back(stored_line(i));
    return lines;
}

// What a load of `path` says when it finds these counts.
std::string said_after_load(const std::string &path, std::int64_t characters, std::int64_t skipped)
{
    return "Successfully read " + std::to_string(characters) + " character(s) from \"" + path +
           "\"\n" +
           (skipped > 0
                ? "Skipped " + std::to_string(skipped) + " line(s) that are not character lines\n"
                : "");
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

struct LoadCase {
    const char *label;
    std::string bytes;
    std::vector<std::string> lines;
};

TEST(LoadSaveFile, StoresOneSlotPerLineAndCutsLongLines)
{
    const std::string cut(kLineLimit, 'x');
#ifdef _WIN32
    const std::vector<std::string> crlf = {"a", "b"};
    const std::vector<std::string> eof_byte = {"a"};
#else
    const std::vector<std::string> crlf = {"a\r", "b\r"};
    const std::vector<std::string> eof_byte = {"a\x1a"
                                               "b"};
#endif
    const LoadCase cases[] = {
        {"no final line feed", "a\nb\nc", {"a", "b", "c"}},
        {"final line feed", "a\nb\nc\n", {"a", "b", "c"}},
        {"empty file", "", {}},
        {"only line feeds", "\n\n\n", {"", "", ""}},
        {"leading blanks kept", "  a\n\tb\n", {"  a", "\tb"}},
        {"6143 + 857", std::string(7000, 'x') + "\n", {cut, std::string(857, 'x')}},
        {"exactly 6143 then LF", cut + "\n", {cut, ""}},
        {"exactly 6143 at end", cut, {cut}},
        {"6144", cut + "y\n", {cut, "y"}},
        {"NUL ends the text", std::string("ab\0cd\nef", 8), {"ab", "ef"}},
        {"CR LF", "a\r\nb\r\n", crlf},
        {"lone CR stays", "a\rb\n", {"a\rb"}},
        {"0x1A",
         "a\x1a"
         "b\n",
         eof_byte},
        {"0xFF bytes", "\xff\xfe\n", {"\xff\xfe"}},
    };
    for (const LoadCase &row : cases) {
        load_bytes(row.bytes);
        EXPECT_EQ(stored_lines(), row.lines) << row.label;
    }
}

TEST(LoadSaveFile, AOneMegabyteLineFillsConsecutiveSlots)
{
    load_bytes(std::string(1 << 20, 'm') + "\n");
    ASSERT_EQ(line_count(), 171); // 170 full slots of 6143 and one of 4266
    EXPECT_EQ(std::string(stored_line(169)), std::string(kLineLimit, 'm'));
    EXPECT_EQ(std::string(stored_line(170)), std::string(4266, 'm'));
}

// Lines of every length around the cut and the reader's chunk boundaries must come
// out as a reader taking at most 6143 characters up to a line feed would give them.
TEST(LoadSaveFile, MatchesTheLineReaderModelAcrossChunks)
{
    std::mt19937 random(20261207);
    // The random lines stand on both sides of the 262144th line, after which the
    // loader no longer knows line starts from its first pass.
    std::string bytes(262100, '\n');
    for (int i = 0; i < 400; ++i) {
        std::size_t length = random() % 14000;
        for (std::size_t j = 0; j < length; ++j)
            bytes += static_cast<char>('a' + (i + j) % 26);
        if (random() % 10 != 0)
            bytes += '\n';
    }
    std::vector<std::string> expected;
    std::string current;
    bool started = false;
    for (char c : bytes) {
        if (c == '\n') {
            expected.push_back(current);
            current.clear();
            started = false;
            continue;
        }
        current += c;
        started = true;
        if (current.size() == kLineLimit) {
            expected.push_back(current);
            current.clear();
            started = false;
        }
    }
    if (started)
        expected.push_back(current);
    load_bytes(bytes);
    EXPECT_EQ(stored_lines(), expected);
}

// Past the old capacity of 10240 stored lines, at its worst: every stored line must
// come out whole and in its place, and the file's lines are counted once each.
TEST(LoadSaveFile, StoresEveryLinePastTheOldCapacity)
{
    struct Row {
        const char *label;
        std::size_t length;        // characters of each line of the file
        bool feed;                 // each line ends with a line feed
        std::size_t file_lines;    // lines of the file (one long line without feeds)
        std::size_t leftover;      // characters after them, without a feed
        std::size_t stored_length; // length of each stored line with text
        bool empty_between;        // an empty stored line follows each of them
        std::int64_t stored;       // stored lines
        std::int64_t skipped;      // lines of the file that give no sheet
    };
    const Row rows[] = {
        {"no line feed at all", kLineLimit, false, 10241, 100, kLineLimit, false, 10242, 1},
        {"longest lines leaving no empty line", kLineLimit - 1, true, 10241, 0, kLineLimit - 1,
         false, 10241, 10241},
        {"lines of exactly the limit", kLineLimit, true, 5121, 0, kLineLimit, true, 10242, 5121},
    };
    for (const Row &row : rows) {
        // Each line of the file holds one letter, the next line the next letter.
        std::string bytes;
        bytes.reserve((row.length + 1) * row.file_lines + row.leftover);
        for (std::size_t i = 0; i < row.file_lines; ++i) {
            bytes.append(row.length, static_cast<char>('a' + i % 26));
            if (row.feed)
                bytes += '\n';
        }
        bytes.append(row.leftover, '#');
        std::string path;
        std::string output = load_bytes(bytes, &path);
        ASSERT_EQ(line_count(), row.stored) << row.label;
        std::size_t step = row.empty_between ? 2 : 1;
        for (std::int64_t i = 0; i + (row.leftover > 0 ? 1 : 0) < row.stored; ++i) {
            std::string expected =
                i % step == 0
                    ? std::string(row.stored_length, static_cast<char>('a' + (i / step) % 26))
                    : std::string();
            if (stored_line(i) != expected) {
                ADD_FAILURE() << row.label << ": stored line " << i << " differs";
                break;
            }
        }
        if (row.leftover > 0) {
            EXPECT_EQ(stored_line(row.stored - 1), std::string(row.leftover, '#')) << row.label;
        }
        EXPECT_EQ(output, said_after_load(path, 0, row.skipped)) << row.label;
    }
}

TEST(LoadSaveFile, CountsCharacterLinesAndReportsTheOthers)
{
    std::string path;
    std::string output =
        load_bytes(kCharacter + "\n\n" + kCharacter + "\r\ngarbage\n150\t%newid%\n", &path);
    EXPECT_EQ(output, "Successfully read 2 character(s) from \"" + path +
                          "\"\nSkipped 3 line(s) that are not character lines\n");
    output = load_bytes(kCharacter + "\n", &path);
    EXPECT_EQ(output, "Successfully read 1 character(s) from \"" + path + "\"\n");
    output = load_bytes("", &path);
    EXPECT_EQ(output, "Successfully read 0 character(s) from \"" + path + "\"\n");
}

// Counts are in the file's own lines: a cut line's pieces, and the empty piece
// after a line of exactly kLineLimit characters, belong to their line.
TEST(LoadSaveFile, CountsCutLinesAsOneLineOfTheFile)
{
    const std::string padded =
        kCharacter + "\t" + std::string(kLineLimit - kCharacter.size() - 1, 'p');
    const std::string other = std::string(kLineLimit, 'o');
    struct Row {
        const char *label;
        std::string bytes;
        std::int64_t characters;
        std::int64_t skipped;
    };
    const Row rows[] = {
        {"6143 + 857, a character", padded + std::string(857, 'p') + "\n", 1, 0},
        {"6143 + 857, no character", other + std::string(857, 'o') + "\n", 0, 1},
        {"rest is a character", other + kCharacter + "\n", 1, 0},
        {"exactly 6143 and a LF", padded + "\n" + kCharacter + "\n", 2, 0},
        {"exactly 6143, no character", other + "\n" + kCharacter + "\n", 1, 1},
#ifndef _WIN32
        {"6142 and a CR LF", padded.substr(0, kLineLimit - 1) + "\r\n" + kCharacter + "\n", 2, 0},
#endif
        {"a NUL", kCharacter + std::string("\0", 1) + "\t" + other + "\nx\n", 1, 1},
        {"last line without a LF", "x\n" + kCharacter + "\ny", 1, 2},
        {"three pieces", other + other + "x\n", 0, 1},
    };
    for (const Row &row : rows) {
        std::string path;
        std::string output = load_bytes(row.bytes, &path);
        EXPECT_EQ(output, said_after_load(path, row.characters, row.skipped)) << row.label;
    }
}

TEST(LoadSaveFile, ReadsPastTheOldCapacity)
{
    for (int lines : {10239, 10240, 10241, 20000}) {
        for (bool final_feed : {true, false}) {
            std::string bytes;
            for (int i = 0; i < lines; ++i)
                bytes += kCharacter + "\n";
            if (!final_feed)
                bytes.pop_back();
            std::string path;
            std::string output = load_bytes(bytes, &path);
            EXPECT_EQ(line_count(), lines) << lines << " lines";
            EXPECT_EQ(output, said_after_load(path, lines, 0))
                << lines << " lines, final feed " << final_feed;
        }
    }
}

#ifndef _WIN32
// A FIFO has no size to allocate from: the block grows as it is read, and the
// result must be that of the same regular file.
TEST(LoadSaveFile, ReadsAFifoLikeTheSameRegularFile)
{
    std::string bytes;
    for (int i = 0; bytes.size() < (std::size_t{9} << 20); ++i)
        bytes += i % 7 == 0 ? std::string(7000, 'w') + "\n" : kCharacter + "\n";
    std::string regular_path;
    std::string regular = load_bytes(bytes, &regular_path);
    std::vector<std::string> regular_lines = stored_lines();

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
    EXPECT_TRUE(stored_lines() == regular_lines) << "the FIFO's lines differ";
}

#if defined(__SANITIZE_ADDRESS__)
#define TAMSEL_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TAMSEL_ADDRESS_SANITIZER 1
#endif
#endif

// A file whose lines the memory cannot hold is refused whole, in a child whose
// address space is limited.
TEST(LoadSaveFile, RefusesAFileTooLargeForTheMemory)
{
#ifdef TAMSEL_ADDRESS_SANITIZER
    GTEST_SKIP() << "the address sanitizer needs its own address space: no limit can be set";
#else
    std::string path = make_scratch_folder() + "/athena.txt";
    write_file(path, kCharacter + "\n");
    std::filesystem::resize_file(path, std::uintmax_t{8} << 30); // sparse: takes no disk
    int status = 0;
    std::string said = run_in_child(
        [&] {
            rlimit limit = {std::size_t{2} << 30, std::size_t{2} << 30};
            CapturedConsole console;
            bool loaded = setrlimit(RLIMIT_AS, &limit) == 0 && load_save_file(path.c_str());
            return (loaded ? "loaded" : "refused") + console.output();
        },
        &status);
    EXPECT_EQ(said, "refused\nError: \"" + path + "\" is too large to load!\n\n");
#endif
}
#endif

TEST(LoadSaveFile, MissingFilesAndFoldersCannotBeOpened)
{
    std::string folder = make_scratch_folder();
    load_bytes(kCharacter + "\n");
    // A path the table could not keep whole is refused even where the file exists.
    std::string deep = folder;
    while (deep.size() < kPathSize)
        deep += "/" + std::string(200, 'd');
    std::filesystem::create_directories(deep);
    write_file(deep + "/athena.txt", kCharacter + "\n");
    const std::string paths[] = {folder, folder + "/missing.txt", folder + "/no/such.txt", "",
                                 deep + "/athena.txt"};
    for (const std::string &path : paths) {
        CapturedConsole console;
        EXPECT_FALSE(load_save_file(path.c_str())) << path;
        EXPECT_EQ(console.output(), "\nError: Could not open \"" + path + "\"!\n\n");
    }
}

} // namespace
