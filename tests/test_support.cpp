// Helpers shared by the tests.
#include "tests/test_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>

#ifndef _WIN32
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "app/startup.h"
#include "console/console.h"
#include "tests/reference.h"

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

CharacterRecord test_character(std::int32_t id, std::int32_t account, const char *name,
                               std::int32_t class_number, std::int32_t zeny)
{
    CharacterRecord r = {1,  2,  3,  "", 4,  "", 5,  6,  7,  8,  9, 10,
                         11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21};
    r.character_id = id;
    r.account_id = account;
    std::snprintf(r.name, sizeof r.name, "%s", name);
    r.class_number = class_number;
    r.zeny = zeny;
    return r;
}

std::string character_line(const CharacterRecord &r)
{
    char line[512];
    std::snprintf(line, sizeof line,
                  "%d\t%d,%d\t%s\t%d,%d,%d\t%d,%d,%d\t%d,%d,%d,%d\t%d,%d,%d,%d,%d,%d\t%d,%d",
                  r.character_id, r.account_id, r.slot, r.name, r.class_number, r.base_level,
                  r.job_level, r.base_exp, r.job_exp, r.zeny, r.hp, r.max_hp, r.sp, r.max_sp,
                  r.stat_str, r.stat_agi, r.stat_vit, r.stat_int, r.stat_dex, r.stat_luk,
                  r.status_points, r.skill_points);
    return line;
}

std::string character_sheet(CharacterRecord record)
{
    reference_job_name(record.class_number, record.job_name);
    char sheet[1024];
    reference_sheet(record, sheet, sizeof sheet);
    return sheet;
}

#ifndef _WIN32
Child start_child(const std::function<int()> &body)
{
    int input[2], output[2];
    if (pipe(input) != 0 || pipe(output) != 0)
        std::abort();
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
        dup2(input[0], 0);
        dup2(output[1], 1);
        for (int end : {input[0], input[1], output[0], output[1]})
            close(end);
        alarm(10);
        _exit(body());
    }
    close(input[0]);
    close(output[1]);
    return {child, input[1], output[0], ""};
}

bool read_until(Child &child, std::size_t &from, const std::string &marker)
{
    for (;;) {
        std::size_t at = child.seen.find(marker, from);
        if (at != std::string::npos) {
            from = at + marker.size();
            return true;
        }
        pollfd ready = {child.from_child, POLLIN, 0};
        char piece[4096];
        ssize_t got = 0;
        if (poll(&ready, 1, 10000) <= 0 || (got = read(child.from_child, piece, sizeof piece)) <= 0)
            return false;
        child.seen.append(piece, static_cast<std::size_t>(got));
    }
}

int finish_child(Child &child)
{
    close(child.to_child);
    char piece[4096];
    for (ssize_t got; (got = read(child.from_child, piece, sizeof piece)) > 0;)
        child.seen.append(piece, static_cast<std::size_t>(got));
    close(child.from_child);
    int status = 0;
    waitpid(child.pid, &status, 0);
    return status;
}

// In a coverage build, what a child runs counts too: its profile must be written
// before _exit, which skips the handler that would write it at exit, and to a file
// of its own (the name's pattern is read again, so that %p is the child's); not
// under a file-size limit a test set, which would leave it cut short.
extern "C" int __llvm_profile_write_file(void) __attribute__((weak));
extern "C" void __llvm_profile_set_filename(const char *pattern) __attribute__((weak));

std::string run_in_child(const std::function<std::string()> &body, int *status,
                         const std::function<void(int)> &meanwhile)
{
    Child child = start_child([&] {
        std::string text = body();
        const char *pattern = std::getenv("LLVM_PROFILE_FILE");
        rlimit size;
        if (__llvm_profile_write_file != nullptr && pattern != nullptr &&
            getrlimit(RLIMIT_FSIZE, &size) == 0 && size.rlim_cur == RLIM_INFINITY) {
            __llvm_profile_set_filename(pattern);
            __llvm_profile_write_file();
        }
        return write(1, text.data(), text.size()) < 0 ? 1 : 0;
    });
    if (meanwhile)
        meanwhile(child.pid);
    *status = finish_child(child);
    return child.seen;
}
#endif
