// Tests of the line splitter: how a file's bytes become lines, whatever the reads.
#include "convert/line_splitter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace
{

const std::string kCharacter = character_line(test_character());

bool add_piece(const char *text, std::size_t, void *pieces)
{
    static_cast<std::vector<std::string> *>(pieces)->emplace_back(text);
    return true;
}

// The pieces split_lines makes of `bytes` in a file, read `piece_size` bytes at a time.
std::vector<std::string> pieces_of(const std::string &bytes, std::size_t piece_size = 0)
{
    std::string path = make_scratch_folder() + "/athena.txt";
    write_file(path, bytes);
    std::vector<std::string> pieces;
    std::FILE *file = std::fopen(path.c_str(), "r");
    set_read_piece_size(piece_size);
    EXPECT_TRUE(split_lines(file, SIZE_MAX, add_piece, &pieces));
    set_read_piece_size(0);
    std::fclose(file);
    return pieces;
}

struct SplitCase {
    const char *label;
    std::string bytes;
    std::vector<std::string> lines;
};

TEST(SplitLines, GivesEachLineAsTextModeReadsItAndCutsLongLinesAtAnyReadSize)
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
    const SplitCase cases[] = {
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
    for (const SplitCase &row : cases) {
        for (std::size_t piece_size : {0, 1, 5})
            EXPECT_EQ(pieces_of(row.bytes, piece_size), row.lines)
                << row.label << ", " << piece_size;
    }
}

// The rules where a read ends: each row's file is read `piece_size` bytes at a time.
TEST(SplitLines, RulesHoldAtTheEdgeOfARead)
{
    const std::string cut(kLineLimit, 'x');
    const struct {
        const char *label;
        std::size_t piece_size;
        std::string bytes;
        std::vector<std::string> pieces;
    } rows[] = {
        {"a line across two reads", 4, "abcdef\ngh\n", {"abcdef", "gh"}},
        {"a cut at a read's end", kLineLimit, cut + "yz\n", {cut, "yz"}},
        {"a cut at the end of a second read", 3073, "ab\n" + cut + "c", {"ab", cut, "c"}},
        {"a line feed first in a read", 3, "abc\nde\n", {"abc", "de"}},
        {"a line feed first in a read after a cut", kLineLimit, cut + "\ny", {cut, "", "y"}},
        {"a NUL ends a read, a LF the next", 4, std::string("abc\0\nxy\n", 8), {"abc", "xy"}},
        {"a character line over many reads", 7, kCharacter + "\n", {kCharacter}},
    };
    for (const auto &row : rows)
        EXPECT_EQ(pieces_of(row.bytes, row.piece_size), row.pieces) << row.label;
}

TEST(SplitLines, CutsAOneMegabyteLineIntoConsecutivePieces)
{
    std::vector<std::string> pieces = pieces_of(std::string(1 << 20, 'm') + "\n");
    ASSERT_EQ(pieces.size(), 171u); // 170 full pieces of 6143 and one of 4266
    EXPECT_EQ(pieces[169], std::string(kLineLimit, 'm'));
    EXPECT_EQ(pieces[170], std::string(4266, 'm'));
}

// Lines of every length around the cut and the reader's chunk boundaries must come
// out as a reader taking at most 6143 characters up to a line feed would give them.
TEST(SplitLines, MatchesTheLineReaderModelAcrossReads)
{
    std::mt19937 random(20261207);
    // The random lines stand on both sides of the end of the first read.
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
    EXPECT_EQ(pieces_of(bytes), expected);
}

} // namespace
