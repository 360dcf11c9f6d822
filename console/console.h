// Console operations: reading and writing the console, used by both the menus and the
// file operations. Every prompt, message and typed answer passes through here; this
// folder stands below the others and uses only the standard library.
#ifndef TAMSEL_CONSOLE_CONSOLE_H
#define TAMSEL_CONSOLE_CONSOLE_H

#include <cstddef>
#include <cstdint>
#include <iosfwd>

// Reads from `in` and writes to `out` from now on, and clears the failed state. The program starts
// attached to standard input and output.
void console_attach(std::istream &in, std::ostream &out);

// Writes the text exactly as given.
void write_text(const char *text);

// Writes `length` bytes of `text` exactly, a NUL among them included: a name as it
// was typed.
void write_text(const char *text, std::size_t length);

// Writes the number in decimal, with a leading "-" when negative and no fill.
void write_text(std::int32_t value);

// Writes a count in decimal, as above; counts of lines and characters are 64-bit.
void write_text(std::int64_t value);

// Flushes everything written so far; called when the run ends.
void flush_console();

enum WordRead {
    word_none,  // nothing stored: the input had ended or the failed state was set
    word_whole, // the word was stored whole
    word_cut,   // the word was longer than the buffer: its start is stored, the rest
                // was read and dropped so that no piece of it reaches the next prompt
};

// Skips white space and reads a file name of any length into `buffer` (`size`
// bytes, at least 1), storing at most size - 1 characters and a NUL. A name is a
// word, which the next white space ends and which stays in the input, unless it
// starts with a double quote: then it runs to the next double quote, white space
// included; the quotes are not stored, and the name's length is counted inside
// them. A line end (LF or CR) or the end of input before the closing quote ends the
// name: the line end stays in the input. "" stores an empty name. `*length` gets
// the bytes stored, a typed NUL among them counted as any other byte, so a name
// holds a NUL when strlen(buffer) is less. Leaves `buffer` and `*length` unchanged
// on word_none.
//
// The end of input, met by a read or by the skip before it, sets the failed state,
// as does a number read that finds no number: never cleared during a run, it makes
// every later read return at once and leave its target unchanged.
WordRead read_name(char *buffer, std::size_t size, std::size_t *length);

// Waits for the user to press Enter, whatever earlier reads left: drops the rest
// of the line last typed, ignores the failed state, then reads one more line. Only
// the end of input ends the wait at once.
void wait_for_enter();

// Skips white space and reads a number of at most 15 characters: decimal, octal
// after a leading 0, hexadecimal after 0x, with an optional sign. Values beyond the
// 32-bit range become the nearest limit. Text that is no number stores 0, stays in
// the input and sets the failed state; in the failed state `target` is unchanged.
// Returns true only when a number typed now was stored (one that the end of the
// input ends included), false for text that is no number, ended or failed input.
bool read_number(std::int32_t &target);

#endif
