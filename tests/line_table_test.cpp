// Tests of the save-file loader: how the file's bytes become stored lines.
#include "convert/line_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace
{

const std::string kCharacter = "1\t2,3\tN\t4,5,6\t7,8,9\t10,11,12,13\t14,15,16,17,18,19\t20,21";

std::vector<std::string> stored_lines()
{
    std::vector<std::string> lines;
    for (std::int32_t i = 0; i < line_count(); ++i)
        lines.emplace_back(stored_line(i));
    return lines;
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
    std::string bytes;
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

// The packed block at its fullest: every stored line must come out whole and in
// its place, with the warning only when data is left.
TEST(LoadSaveFile, FillsTheBlockAtItsWorst)
{
    struct Row {
        const char *label;
        std::size_t length;        // characters of each line of the file
        bool feed;                 // each line ends with a line feed
        std::size_t file_lines;    // lines of the file (one long line without feeds)
        std::size_t leftover;      // characters after them, without a feed
        std::size_t stored_length; // length of each stored line with text
        bool empty_between;        // an empty stored line follows each of them
        bool warned;
    };
    const Row rows[] = {
        {"no line feed at all", kLineLimit, false, kLineSlots, 100, kLineLimit, false, true},
        {"longest lines leaving no empty line", kLineLimit - 1, true, kLineSlots, 0, kLineLimit - 1,
         false, false},
        {"lines of exactly the limit", kLineLimit, true, kLineSlots / 2, 0, kLineLimit, true,
         false},
        {"one such line more", kLineLimit, true, kLineSlots / 2 + 1, 0, kLineLimit, true, true},
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
        ASSERT_EQ(line_count(), kLineSlots) << row.label;
        std::size_t step = row.empty_between ? 2 : 1;
        for (std::int32_t i = 0; i < kLineSlots; ++i) {
            std::string expected =
                i % step == 0
                    ? std::string(row.stored_length, static_cast<char>('a' + (i / step) % 26))
                    : std::string();
            if (stored_line(i) != expected) {
                ADD_FAILURE() << row.label << ": stored line " << i << " differs";
                break;
            }
        }
        EXPECT_EQ(output.find("Warning: only the first 10240 lines") != std::string::npos,
                  row.warned)
            << row.label << ": " << output;
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

struct CapacityCase {
    int lines;
    bool final_feed;
    std::int32_t stored;
    bool warned;
};

TEST(LoadSaveFile, StopsAtTheTableCapacityAndSaysSo)
{
    const CapacityCase cases[] = {
        {10239, true, 10239, false}, {10240, true, 10240, false}, {10240, false, 10240, false},
        {10241, true, 10240, true},  {10241, false, 10240, true}, {20000, true, 10240, true},
    };
    for (const CapacityCase &row : cases) {
        std::string bytes;
        for (int i = 0; i < row.lines; ++i)
            bytes += kCharacter + "\n";
        if (!row.final_feed)
            bytes.pop_back();
        std::string path;
        std::string output = load_bytes(bytes, &path);
        EXPECT_EQ(line_count(), row.stored) << row.lines << " lines";
        std::string expected = "Successfully read " + std::to_string(row.stored) +
                               " character(s) from \"" + path + "\"\n";
        if (row.warned)
            expected += "Warning: only the first 10240 lines of \"" + path + "\" were read\n";
        EXPECT_EQ(output, expected) << row.lines << " lines";
    }
}

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
