// Helpers shared by the unit tests: scratch folders, whole files, a captured console.
#ifndef TAMSEL_TESTS_TEST_SUPPORT_H
#define TAMSEL_TESTS_TEST_SUPPORT_H

#include <functional>
#include <sstream>
#include <string>

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

#ifndef _WIN32
// Runs `body` in a child process that an alarm ends should it hang, and `meanwhile`
// here with the child's id; returns what `body` returned, and `status` gets how the
// child ended.
std::string run_in_child(const std::function<std::string()> &body, int *status,
                         const std::function<void(int)> &meanwhile = {});
#endif

#endif
