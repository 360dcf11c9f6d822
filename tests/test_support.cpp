// Helpers shared by the unit tests.
#include "tests/test_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "app/startup.h"
#include "console/console.h"

namespace fs = std::filesystem;

namespace
{

// Each test process works below a root of its own, removed when the process ends.
fs::path g_root;

void remove_root()
{
    std::error_code error;
    fs::remove_all(g_root, error);
}

} // namespace

std::string make_scratch_folder()
{
    static int serial = 0;
    if (g_root.empty()) {
        fs::path temp = fs::temp_directory_path();
        std::error_code error;
        // Another name only when this one is taken; any other failure (a folder
        // that cannot be written) would fail again under every name.
        do
            g_root = temp / ("tamsel-tests-" + std::to_string(std::random_device{}()));
        while (!fs::create_directory(g_root, error) && !error);
        if (error) {
            std::fprintf(stderr, "cannot make a scratch folder in %s: %s\n", temp.string().c_str(),
                         error.message().c_str());
            std::exit(1);
        }
        std::atexit(remove_root);
    }
    fs::path folder = g_root / std::to_string(serial++);
    fs::create_directories(folder);
    return folder.string();
}

void write_file(const std::string &path, const std::string &bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string as_text_file(const std::string &text)
{
#ifdef _WIN32
    std::string bytes;
    for (char c : text) {
        if (c == '\n')
            bytes += '\r';
        bytes += c;
    }
    return bytes;
#else
    return text;
#endif
}

std::string read_file(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

CapturedConsole::CapturedConsole(const std::string &input) : in(input)
{
    console_attach(in, out);
}

CapturedConsole::~CapturedConsole()
{
    console_attach(std::cin, std::cout);
}

std::string run_dialogue(const std::string &folder, const std::string &input, bool *quit)
{
    fs::path previous = fs::current_path();
    fs::current_path(folder);
    CapturedConsole console(input);
    bool quit_chosen = run_program();
    if (quit != nullptr)
        *quit = quit_chosen;
    fs::current_path(previous);
    return console.output();
}

#ifndef _WIN32
// In a coverage build, what a child runs counts too: its profile must be written
// before _exit, which skips the handler that would write it at exit, and to a file
// of its own (the name's pattern is read again, so that %p is the child's); not
// under a file-size limit a test set, which would leave it cut short.
extern "C" int __llvm_profile_write_file(void) __attribute__((weak));
extern "C" void __llvm_profile_set_filename(const char *pattern) __attribute__((weak));

std::string run_in_child(const std::function<std::string()> &body, int *status,
                         const std::function<void(int)> &meanwhile)
{
    int channel[2];
    if (pipe(channel) != 0)
        return "no pipe";
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
        alarm(10);
        std::string text = body();
        const char *pattern = std::getenv("LLVM_PROFILE_FILE");
        rlimit size;
        if (__llvm_profile_write_file != nullptr && pattern != nullptr &&
            getrlimit(RLIMIT_FSIZE, &size) == 0 && size.rlim_cur == RLIM_INFINITY) {
            __llvm_profile_set_filename(pattern);
            __llvm_profile_write_file();
        }
        _exit(write(channel[1], text.data(), text.size()) < 0);
    }
    close(channel[1]);
    if (meanwhile)
        meanwhile(child);
    std::string text;
    char piece[4096];
    for (ssize_t got; (got = read(channel[0], piece, sizeof piece)) > 0;)
        text.append(piece, static_cast<std::size_t>(got));
    close(channel[0]);
    waitpid(child, status, 0);
    return text;
}
#endif
