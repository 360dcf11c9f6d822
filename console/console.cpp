// Console operations over a pair of streams, with the run's single failed state.
#include "console/console.h"

#include <cstring>
#include <iostream>
#include <istream>
#include <ostream>
#include <string>

#include "console/text_helpers.h"

namespace
{

using Traits = std::char_traits<char>;

constexpr std::size_t kNumberLimit = 15; // a number is taken from at most 15 characters

std::istream *g_in = &std::cin;
std::ostream *g_out = &std::cout;
bool g_failed = false;
bool g_ended = false; // a read has met the end of input, whatever the stream does later

int peek_char()
{
    std::streambuf *buf = g_in->rdbuf();
    int c = buf == nullptr ? Traits::eof() : buf->sgetc();
    if (c == Traits::eof())
        g_ended = true;
    return c;
}

void take_char()
{
    g_in->rdbuf()->sbumpc();
}

bool is_space(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Skips white space; false (and the failed state) when the input ends first.
bool skip_space()
{
    int c = peek_char();
    while (is_space(c)) {
        take_char();
        c = peek_char();
    }
    if (c == Traits::eof()) {
        g_failed = true;
        return false;
    }
    return true;
}

int digit_value(int c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

} // namespace

void console_attach(std::istream &in, std::ostream &out)
{
    g_in = &in;
    g_out = &out;
    g_failed = false;
    g_ended = false;
}

void write_text(const char *text)
{
    *g_out << text;
}

void write_text(const char *text, std::size_t length)
{
    g_out->write(text, static_cast<std::streamsize>(length));
}

void write_text(std::int32_t value)
{
    char digits[kDecimalRoom];
    g_out->write(digits, static_cast<std::streamsize>(format_decimal(value, digits)));
}

void write_text(std::int64_t value)
{
    char digits[20]; // a sign and 19 digits
    std::size_t at = sizeof digits;
    std::uint64_t magnitude = static_cast<std::uint64_t>(value);
    if (value < 0)
        magnitude = 0 - magnitude;
    do {
        digits[--at] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        digits[--at] = '-';
    g_out->write(digits + at, static_cast<std::streamsize>(sizeof digits - at));
}

void flush_console()
{
    g_out->flush();
}

namespace
{

// Stores characters up to, not including, the first that `ends` accepts or the end
// of input, at most size - 1 of them and a NUL; the rest is read and dropped. The
// end of input sets the failed state. `*stored` gets the count stored.
WordRead take_until(char *buffer, std::size_t size, bool (*ends)(int), std::size_t *stored)
{
    std::size_t length = 0;
    bool cut = false;
    int c = peek_char();
    while (c != Traits::eof() && !ends(c)) {
        if (length + 1 < size)
            buffer[length++] = static_cast<char>(c);
        else
            cut = true;
        take_char();
        c = peek_char();
    }
    buffer[length] = '\0';
    *stored = length;
    if (c == Traits::eof())
        g_failed = true;
    return cut ? word_cut : word_whole;
}

bool ends_quoted(int c)
{
    return c == '"' || c == '\n' || c == '\r';
}

} // namespace

WordRead read_name(char *buffer, std::size_t size, std::size_t *length)
{
    if (g_failed)
        return word_none;
    flush_console();
    if (!skip_space())
        return word_none;
    if (peek_char() != '"')
        return take_until(buffer, size, is_space, length);
    take_char();
    WordRead got = take_until(buffer, size, ends_quoted, length);
    // The closing quote goes with the name; a line end stays, as the white space
    // after a word does, for the next read.
    if (peek_char() == '"')
        take_char();
    return got;
}

void wait_for_enter()
{
    flush_console();
    // A console may go on reading after its end of input (Ctrl-Z): the user who
    // typed it asked to end, not to wait.
    if (g_ended)
        return;
    // First the rest of the line last typed, then the line that is the Enter.
    for (int line = 0; line < 2; ++line) {
        int c = peek_char();
        while (c != Traits::eof() && c != '\n') {
            take_char();
            c = peek_char();
        }
        if (c == Traits::eof())
            return;
        take_char();
    }
}

bool read_number(std::int32_t &target)
{
    if (g_failed)
        return false;
    flush_console();
    if (!skip_space())
        return false;

    std::size_t count = 0; // characters taken, sign and prefix included
    auto take = [&count]() {
        ++count;
        take_char();
    };

    int c = peek_char();
    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        take();
        c = peek_char();
    }
    int base = 10;
    std::size_t digits_from = count;
    if (c == '0') {
        take();
        c = peek_char();
        if (c == 'x' || c == 'X') {
            take();
            c = peek_char();
            base = 16;
            digits_from = count; // the 0 of the prefix is not a digit of its own
        } else {
            base = 8;
        }
    }
    // At most 15 characters: the magnitude fits 64 bits before clamping.
    std::int64_t magnitude = 0;
    while (count < kNumberLimit && digit_value(c) < base) {
        magnitude = magnitude * base + digit_value(c);
        take();
        c = peek_char();
    }

    if (count == digits_from) {
        // A sign alone, "0x" alone or no digit at all. What was taken counts as
        // unread, but no read ever looks at the input again once it has failed.
        g_failed = true;
        target = 0;
        return false;
    }

    std::int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX)
        value = INT32_MAX;
    if (value < INT32_MIN)
        value = INT32_MIN;
    target = static_cast<std::int32_t>(value);
    if (count < kNumberLimit && c == Traits::eof())
        g_failed = true;
    return true;
}
