// Tests of the console operations: reading words and numbers, writing numbers.
#include "console/console.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <sstream>
#include <string>

#include "tests/test_support.h"

using namespace std::string_literals;

namespace
{

// What the next read of a name gets once "later" is typed after what the input
// still holds: the first word left, or "later"; "(failed)" in the failed state, in
// which a read takes nothing at all. `rest` gets what the input still held.
std::string next_read(CapturedConsole &console, std::string *rest = nullptr)
{
    std::string left(std::istreambuf_iterator<char>(console.in), {});
    if (rest != nullptr)
        *rest = left;
    console.in.clear();
    console.in.str(left + " later");
    char word[64] = "(failed)";
    std::size_t length = 8;
    read_name(word, sizeof word, &length);
    return std::string(word, length);
}

// What a row expects of next_read.
std::string expected_next(bool failed, const char *next_word)
{
    return failed ? "(failed)" : *next_word != '\0' ? next_word : "later";
}

struct NumberCase {
    const char *input;
    std::int32_t expected; // the target after the read (it starts at 77)
    bool stored;           // what the read answers: a number typed now was stored
    bool failed;           // the failed state after the read
    const char *next_word; // the word the input still holds ("" when none)
};

TEST(ReadNumber, FollowsTheRulesOfDecimalOctalAndHexadecimal)
{
    const NumberCase cases[] = {
        {"7\n", 7, true, false, ""},
        {"-12 ", -12, true, false, ""},
        {"+5 ", 5, true, false, ""},
        {"  \n\t 42 ", 42, true, false, ""},
        {"010 ", 8, true, false, ""},
        {"0x1F ", 31, true, false, ""},
        {"0X1f ", 31, true, false, ""},
        {"-0x10 ", -16, true, false, ""},
        {"09 ", 0, true, false, "9"},
        {"0 ", 0, true, false, ""},
        {"12abc ", 12, true, false, "abc"},
        {"0xg ", 0, false, true, ""}, // "0x" alone is no number and stays unread
        {"abc ", 0, false, true, ""},
        {"- 5", 0, false, true, ""},
        {"+x ", 0, false, true, ""},
        {"2147483647 ", 2147483647, true, false, ""},
        {"2147483648 ", 2147483647, true, false, ""},
        {"-2147483648 ", INT32_MIN, true, false, ""},
        {"-2147483649 ", INT32_MIN, true, false, ""},
        {"999999999999999999999 ", 2147483647, true, false, "999999"},
        {"0x7fffffffffffffff ", 2147483647, true, false, "fff"},
        {"123456789012345678 ", 2147483647, true, false, "678"},
        {"-00000000000000001 ", 0, true, false, "001"},
        {"000000000000000000012 ", 0, true, false, "000012"},
        {"7", 7, true, true, ""},  // the end of input ended the number
        {"", 77, false, true, ""}, // nothing typed: the target is untouched
        {" \n ", 77, false, true, ""},
    };
    for (const NumberCase &row : cases) {
        CapturedConsole console(row.input);
        std::int32_t target = 77;
        EXPECT_EQ(read_number(target), row.stored) << "input: " << row.input;
        EXPECT_EQ(target, row.expected) << "input: " << row.input;
        EXPECT_EQ(next_read(console), expected_next(row.failed, row.next_word))
            << "input: " << row.input;
    }
}

TEST(ReadNumber, TextThatIsNoNumberStaysInTheInput)
{
    CapturedConsole console("-x");
    std::int32_t target = 5;
    read_number(target);
    EXPECT_EQ(target, 0);
    // The failed state is never cleared: later reads change nothing.
    target = 9;
    EXPECT_FALSE(read_number(target));
    EXPECT_EQ(target, 9);
    char word[8] = "keep";
    std::size_t length = 4;
    EXPECT_EQ(read_name(word, sizeof word, &length), word_none);
    EXPECT_STREQ(word, "keep");
    EXPECT_EQ(length, 4u);
}

TEST(ReadNumber, SeveralAnswersOnOneLineFeedTheNextPrompts)
{
    CapturedConsole console("2 1 out.txt 150\n");
    std::int32_t a = 0, b = 0, c = 0;
    char word[16] = "";
    std::size_t length = 0;
    read_number(a);
    read_number(b);
    read_name(word, sizeof word, &length);
    read_number(c);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 1);
    EXPECT_STREQ(word, "out.txt");
    EXPECT_EQ(c, 150);
    EXPECT_EQ(next_read(console), "later");
}

// The inputs and the stored bytes are strings: a typed NUL is part of a name.
struct NameCase {
    std::string input;
    std::size_t size;
    std::string expected; // the bytes stored, as many as the read says it stored
    WordRead outcome;
    bool failed;
    const char *rest; // what is left unread in the input
};

// A name that does not start with a double quote is read as a word, stored up to
// the buffer and consumed whole; one in double quotes runs to the next quote.
TEST(ReadName, StoresAWordOrAQuotedNameUpToTheBufferAndConsumesItWhole)
{
    const NameCase cases[] = {
        {"out.txt\n", 16, "out.txt", word_whole, false, "\n"},
        {"\n\n   my saves/a.txt\n", 16, "my", word_whole, false, " saves/a.txt\n"},
        {"abcdefgh next", 9, "abcdefgh", word_whole, false, " next"},
        {"abcdefghi next", 9, "abcdefgh", word_cut, false, " next"},
        {"abcdefghijklmnopqrstuvwxyz\tnext", 4, "abc", word_cut, false, "\tnext"},
        {"\xe9t\xe9\n", 16, "\xe9t\xe9", word_whole, false, "\n"},
        {"ab\0cd.txt next"s, 16, "ab\0cd.txt"s, word_whole, false, " next"},
        {"ab\0cd.txt next"s, 4, "ab\0"s, word_cut, false, " next"},
        {"last", 16, "last", word_whole, true, ""},
        {"  \r\n\v\f", 16, "unchanged", word_none, true, ""},
        {"", 16, "unchanged", word_none, true, ""},
        {" \"my saves/a.txt\" 3\n", 32, "my saves/a.txt", word_whole, false, " 3\n"},
        {"\"all\tcharacters.txt\"\n", 32, "all\tcharacters.txt", word_whole, false, "\n"},
        {"\"my file\".txt\n", 32, "my file", word_whole, false, ".txt\n"},
        {"\"\" 3", 32, "", word_whole, false, " 3"},
        {"\"open name\n3\n", 32, "open name", word_whole, false, "\n3\n"},
        {"\"open name\r\n3", 32, "open name", word_whole, false, "\r\n3"},
        {"\"open name", 32, "open name", word_whole, true, ""},
        {"\"", 32, "", word_whole, true, ""},
        {"\"a b c d\" e", 8, "a b c d", word_whole, false, " e"},
        {"\"a b c d e\" f", 8, "a b c d", word_cut, false, " f"},
        {"\"a b c d e\nf", 8, "a b c d", word_cut, false, "\nf"},
        {"my\"quoted name\"\n", 32, "my\"quoted", word_whole, false, " name\"\n"},
        {"\"C:\\My Games\\athena.txt\"", 32, "C:\\My Games\\athena.txt", word_whole, false, ""},
        {"\"a b\0c.txt\" 3"s, 32, "a b\0c.txt"s, word_whole, false, " 3"},
    };
    for (const NameCase &row : cases) {
        CapturedConsole console(row.input);
        char name[64] = "unchanged";
        std::size_t length = 9;
        EXPECT_EQ(read_name(name, row.size, &length), row.outcome) << "input: " << row.input;
        EXPECT_EQ(std::string(name, length), row.expected) << "input: " << row.input;
        std::string rest;
        EXPECT_EQ(next_read(console, &rest) == "(failed)", row.failed) << "input: " << row.input;
        EXPECT_EQ(rest, row.rest) << "input: " << row.input;
    }
}

TEST(WaitForEnter, DropsTheRestOfTheLineAndWaitsForOneMore)
{
    struct {
        const char *input;
        const char *rest;
    } cases[] = {
        {"x\nenter\nlater\n", "later\n"}, // the failed read left "x" unread
        {"x\n\nlater", "later"},
        {"0\nenter\nlater", "later"}, // the read left the line feed after 0
        {"x rest\nenter", ""},
        {"x", ""},
    };
    for (const auto &row : cases) {
        CapturedConsole console(row.input);
        std::int32_t number = 0;
        read_number(number); // fails on "x"
        wait_for_enter();
        std::string rest(std::istreambuf_iterator<char>(console.in), {});
        EXPECT_EQ(rest, row.rest) << "input: " << row.input;
    }
    // Once the input has ended, nothing more is read, even from a stream that goes on.
    CapturedConsole console("");
    char word[8];
    std::size_t length = 0;
    read_name(word, sizeof word, &length);
    console.in.clear();
    console.in.str("enter\n");
    wait_for_enter();
    EXPECT_EQ(console.in.rdbuf()->in_avail(), 6);
}

// Records what had been written at each flush.
struct FlushRecorder : std::stringbuf {
    std::string flushed;
    int sync() override
    {
        flushed = str();
        return 0;
    }
};

TEST(ConsoleReads, FlushThePromptBeforeWaiting)
{
    std::istringstream in("5 name");
    FlushRecorder recorder;
    std::ostream out(&recorder);
    console_attach(in, out);
    write_text("number?");
    std::int32_t value = 0;
    read_number(value);
    EXPECT_EQ(recorder.flushed, "number?");
    write_text("word?");
    char word[8];
    std::size_t length = 0;
    read_name(word, sizeof word, &length);
    EXPECT_EQ(recorder.flushed, "number?word?");
    // In the failed state the reads return at once, without a flush.
    write_text("more?");
    read_name(word, sizeof word, &length);
    read_number(value);
    EXPECT_EQ(recorder.flushed, "number?word?");
    CapturedConsole reset; // back to a fresh console for the other tests
}

// Counts of lines and characters are written as 64-bit numbers: they go past 32
// bits on a large enough file.
TEST(WriteText, WritesNumbersInPlainDecimal)
{
    const std::pair<std::int64_t, const char *> cases[] = {
        {0, "0"},
        {7, "7"},
        {-1, "-1"},
        {150, "150"},
        {9, "9"},
        {10, "10"},
        {99, "99"},
        {100, "100"},
        {-10, "-10"},
        {999, "999"},
        {1000, "1000"},
        {9999, "9999"},
        {10000, "10000"},
        {99999, "99999"},
        {100000, "100000"},
        {-999999, "-999999"},
        {1000000, "1000000"},
        {9999999, "9999999"},
        {10000000, "10000000"},
        {99999999, "99999999"},
        {100000000, "100000000"},
        {999999999, "999999999"},
        {1000000000, "1000000000"},
        {-1000000000, "-1000000000"},
        {2147483647, "2147483647"},
        {INT32_MIN, "-2147483648"},
        {std::int64_t{1} << 32, "4294967296"},
        {INT64_MAX, "9223372036854775807"},
        {INT64_MIN, "-9223372036854775808"},
    };
    for (const auto &row : cases) {
        CapturedConsole console;
        write_text(row.first);
        EXPECT_EQ(console.output(), row.second) << "value: " << row.first;
        if (row.first < INT32_MIN || row.first > INT32_MAX)
            continue;
        CapturedConsole narrow;
        write_text(static_cast<std::int32_t>(row.first));
        EXPECT_EQ(narrow.output(), row.second) << "value in 32 bits: " << row.first;
    }
}

} // namespace
