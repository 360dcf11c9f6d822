// Helpers shared by the tests: scratch folders, whole files, a captured console,
// character lines and their sheets, and child processes.
#ifndef TAMSEL_TESTS_TEST_SUPPORT_H
#define TAMSEL_TESTS_TEST_SUPPORT_H

#include <cstdint>
#include <functional>
#include <sstream>
#include <string>

#include "convert/conversion.h"

// A fresh empty folder under the system's temporary folder.
std::string make_scratch_folder();

void write_file(const std::string &path, const std::string &bytes);

// The bytes a text file written with `text` holds on this platform: line feeds
// become CR LF where files have a text mode.
std::string as_text_file(const std::string &text);
std::string read_file(const std::string &path);

// Attaches the console to an input string and an output buffer for its lifetime.
struct CapturedConsole {
    explicit CapturedConsole(const std::string &input = "");
    ~CapturedConsole();
    std::string output() const { return out.str(); }

    std::istringstream in;
    std::ostringstream out;
};

// Runs the program's code from `folder` (the working folder) with `input` typed;
// `quit`, when given, receives what run_program returned.
std::string run_dialogue(const std::string &folder, const std::string &input, bool *quit = nullptr);

// A character of the test files: the values 1 to 21 in the order of its line, named
// N, with the given ones put in.
CharacterRecord test_character(std::int32_t id = 1, std::int32_t account = 2,
                               const char *name = "N", std::int32_t class_number = 4,
                               std::int32_t zeny = 9);

// The save-file line of `record`'s 22 values, as a server writes them, without a
// line feed.
std::string character_line(const CharacterRecord &record);

// The sheet a dump writes for `record`, by the plain reference, its job looked up.
std::string character_sheet(CharacterRecord record);

#ifndef _WIN32
// A child process of a test, its standard input and output on pipes to the test.
struct Child {
    int pid;
    int to_child;     // the child's standard input
    int from_child;   // the child's standard output
    std::string seen; // what it wrote, as far as it was read
};

// Runs `body` in a child process that an alarm ends should it hang; the child ends
// with what `body` returned.
Child start_child(const std::function<int()> &body);

// Reads the child's output until `marker` stands in it after `from`, then moves
// `from` past it; false when the output ends or stays silent for 10 s before that.
bool read_until(Child &child, std::size_t &from, const std::string &marker);

// Ends the child's input, reads its output to the end and waits for it; returns
// how it ended, as waitpid tells.
int finish_child(Child &child);

// Runs `body` in a child process, and `meanwhile` here with the child's id; returns
// what `body` returned, and `status` gets how the child ended.
std::string run_in_child(const std::function<std::string()> &body, int *status,
                         const std::function<void(int)> &meanwhile = {});
#endif

#endif
