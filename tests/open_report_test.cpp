// Tests of the report's opening protocol, through the dumps that run it: the save
// file and its copies refused, special files, and files changed under the checks.
#include "convert/open_report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>
#ifndef _WIN32
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#endif
#ifdef __linux__
#include <sys/inotify.h>
#elif defined(_WIN32)
#include <thread>
#include <windows.h>
#endif

#include "convert/line_splitter.h"
#include "tests/dump_fixture.h"

namespace fs = std::filesystem;

namespace
{

// The report's checks run where a dump opens its report.
using OpenReportTest = DumpTest;

TEST_F(OpenReportTest, RefusesTheSaveFileHoweverItIsNamed)
{
    // On Windows ".." leaves the pipe folder: the last is the save file, not a pipe.
    std::string names[] = {save,
                           folder + "/./athena.txt",
                           folder + "/sub/../athena.txt",
                           folder + "/link.txt",
                           folder + "/hard.txt",
                           kPipeFolder + "..\\" + save};
    fs::create_directory(folder + "/sub");
    std::error_code error;
    fs::create_symlink(save, folder + "/link.txt", error);
    fs::create_hard_link(save, folder + "/hard.txt", error);
#ifdef __linux__
    // Watchers of the save file (backups, the server) must never hear it was written.
    int watch = inotify_init1(IN_NONBLOCK);
    ASSERT_GE(inotify_add_watch(watch, save.c_str(), IN_MODIFY | IN_CLOSE_WRITE), 0);
#elif defined(_WIN32)
    // Held so that no one may write it: an open for writing would fail, not refuse.
    HANDLE held = CreateFileA(save.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
#endif
    for (const std::string &name : names) {
        if (!fs::exists(name))
            continue; // links are not possible on every file system
        EXPECT_EQ(dump(name, FilterKind::none, 0, 0, false), refused(name, kIsSave));
    }
#ifdef __linux__
    char event[4096];
    EXPECT_EQ(read(watch, event, sizeof event), -1) << "the save file was opened for writing";
    close(watch);
#elif defined(_WIN32)
    CloseHandle(held);
#endif
}

// Both the file that was loaded and the file at the save file's path now are kept
// safe: the loaded one moved away, or a new one put in its place by the server.
TEST_F(OpenReportTest, RefusesTheLoadedFileAndTheFileNowAtItsPath)
{
#ifdef _WIN32
    { // loaded through the pipe folder and "..": a file all the same
        CapturedConsole quiet;
        ASSERT_TRUE(load_save_file((kPipeFolder + "..\\" + save).c_str()));
    }
#endif
    std::string moved = folder + "/moved.txt";
    fs::rename(save, moved);
    CapturedConsole console;
    EXPECT_FALSE(dump_characters(moved.c_str(), FilterKind::none, 0, 0));
    EXPECT_EQ(read_file(moved), contents);

    write_file(folder + "/new.txt", "the server's newer save");
    fs::rename(folder + "/new.txt", save);
    EXPECT_FALSE(dump_characters(save.c_str(), FilterKind::none, 0, 0));
    EXPECT_EQ(read_file(save), "the server's newer save");
    EXPECT_EQ(console.output(), refused(moved, kIsSave) + refused(save, kIsSave));
}

// A save file that cannot be opened for writing is still named as the save file, not
// as a report that could not be created.
TEST_F(OpenReportTest, RefusesASaveFileThatCannotBeWritten)
{
    // A file without write permission stops everyone but root; the kernel's own
    // read-only settings stop root too.
    std::string own = make_scratch_folder() + "/athena.txt";
    write_file(own, character_line(test_character()) + "\n");
    fs::permissions(own, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    save.clear(); // the fixture's own save file is left aside
    for (const std::string &candidate :
         {own, std::string("/sys/kernel/mm/transparent_hugepage/hpage_pmd_size")}) {
        std::FILE *probe = std::fopen(candidate.c_str(), "a");
        if (probe == nullptr && fs::exists(candidate)) {
            save = candidate;
            break;
        }
        if (probe != nullptr)
            std::fclose(probe);
    }
    if (save.empty())
        GTEST_SKIP() << "every candidate can be opened for writing here";
    CapturedConsole console;
    ASSERT_TRUE(load_save_file(save.c_str()));
    console.out.str("");
    EXPECT_FALSE(dump_characters(save.c_str(), FilterKind::none, 0, 0));
    EXPECT_EQ(console.output(), refused(save, kIsSave));
}

// A report never holds a character line: a file whose first 64 KiB do is a copy of
// a save file. A file whose reads fail before one is found could not be checked and
// is left whole. Anything else is written over.
TEST_F(OpenReportTest, RefusesACopyOfASaveFileAndWritesOverOtherFiles)
{
    const std::string line = character(5, 150, "Copy", 1);
    const std::size_t values = line.find("\tx,y"); // the 22 values end here
    // Lines that are no character lines, up to where `line` must start for the
    // 64 KiB mark to fall `early` characters before the end of its values.
    auto head = [&](std::size_t early) { return std::string(65535 - values + early, 'r') + "\n"; };
    const std::string name = folder + "/old.txt";
    const std::string copy = refused(name, kHoldsLines), over = wrote(3, name),
                      unchecked = "\nError: Could not open or create \"" + name + "\"!\n\n";
    const struct {
        const char *label;
        std::string bytes;
        const std::string &console;
        std::size_t reads_fail_after;
    } cases[] = {
        {"a copy", contents, copy, SIZE_MAX},
        {"a copy with CR LF line ends", "junk\r\n" + line.substr(0, line.size() - 1) + "\r\n", copy,
         SIZE_MAX},
        {"the 64 KiB mark cuts a line after its values", head(0) + line, copy, SIZE_MAX},
        {"the mark cuts a line before its values end", head(10) + line, over, SIZE_MAX},
        {"one huge line first", std::string(70000, 'h') + "\n" + line, over, SIZE_MAX},
        // Lines are split as the loader splits them: cut after kLineLimit characters.
        {"the rest of a cut line", std::string(kLineLimit, 'x') + line, copy, SIZE_MAX},
        {"cut one character later", std::string(kLineLimit - 1, 'x') + line, over, SIZE_MAX},
        {"a NUL ends a line's text", std::string("5\0", 2) + line.substr(1), over, SIZE_MAX},
        {"an earlier report", full, over, SIZE_MAX},
        {"reads that fail after a character line", contents, copy, contents.find('\n') + 1},
        {"reads that fail before one", "junk\n" + line, unchecked, 5 + values / 2},
        {"reads that fail in a file of no character line", full, unchecked, 100},
    };
    for (const auto &row : cases) {
        write_file(name, row.bytes);
        set_copy_check_failure(row.reads_fail_after);
        EXPECT_EQ(dump(name, FilterKind::none, 0, 0, &row.console == &over), row.console)
            << row.label;
        set_copy_check_failure(SIZE_MAX);
        EXPECT_EQ(read_file(name), &row.console == &over ? full : row.bytes) << row.label;
    }
#ifdef __linux__
    // A file under /proc says it holds nothing and gives lines all the same: the
    // check reads no more than the size, so it never takes one for a copy.
    std::string value = "X=\n" + character_line(test_character()) + "\n";
    char sleep[] = "sleep", seconds[] = "60";
    char *argv[] = {sleep, seconds, nullptr}, *environment[] = {&value[0], nullptr};
    pid_t sleeper; // back from posix_spawn only once it runs sleep
    ASSERT_EQ(posix_spawn(&sleeper, "/bin/sleep", nullptr, nullptr, argv, environment), 0);
    std::string environ_file = "/proc/" + std::to_string(sleeper) + "/environ";
    EXPECT_NE(dump(environ_file, FilterKind::none, 0, 0, false),
              refused(environ_file, kHoldsLines));
    kill(sleeper, SIGKILL);
    waitpid(sleeper, nullptr, 0);
#endif
}

TEST_F(OpenReportTest, ReportsNamesThatCannotBeCreated)
{
    const std::string names[] = {folder, folder + "/missing/out.txt", ""};
    for (const std::string &name : names) {
        EXPECT_EQ(dump(name, FilterKind::none, 0, 0, false),
                  "\nError: Could not open or create \"" + name + "\"!\n\n");
    }
}

#ifndef _WIN32

// Runs a full dump to `name` in a child process, which `prepare` sets up first;
// `meanwhile` runs here. As root, `as_nobody` runs the child as nobody, so that
// permissions stop it; when it cannot, the text it returns starts with \1.
std::string dump_in_child(const std::string &name, int *status, bool as_nobody, void (*prepare)(),
                          const std::function<void(int)> &meanwhile)
{
    return run_in_child(
        [&]() -> std::string {
            if (as_nobody && geteuid() == 0 &&
                (setgroups(0, nullptr) != 0 || setresgid(65534, 65534, 65534) != 0 ||
                 setresuid(65534, 65534, 65534) != 0 || access(name.c_str(), F_OK) != 0))
                return std::string("\1cannot run as nobody: ") + std::strerror(errno);
            if (prepare != nullptr)
                prepare();
            CapturedConsole console;
            dump_characters(name.c_str(), FilterKind::none, 0, 0);
            return console.output();
        },
        status, meanwhile);
}

std::string g_seam_save; // the save file that the seams put at the report's name

// Moves a new file holding `bytes` to `name`, as a copy made beside it and renamed.
void move_new_file(const char *name, const std::string &bytes)
{
    write_file(g_seam_save + "2", bytes);
    rename((g_seam_save + "2").c_str(), name);
}

// What stands at the report's name before a dump, and what it holds after.
TEST_F(OpenReportTest, WhateverStandsOrChangesAtTheNameGetsItsMessageAndNoCopyIsLost)
{
    std::string old_report;
    for (int i = 0; i < 10; ++i)
        old_report += sheet(i, 9, "Old", i);
    enum Setup {
        nothing,
        save_moved_away,
        old,
        write_only_copy,
        fifo,
        fifo_not_writable,
        fifo_save,
        fifo_save_named,
        leased_copy
    };
    const struct {
        const char *label;
        Setup setup;
        bool as_nobody;
        void (*prepare)();
        int signal;          // that ends the child, 0 for none
        std::string console; // "wrote", "save", "holds", "write", "open" or none
        std::string report;  // what a reader gets, or "-": not read
    } cases[] = {
        {"the save file moved away after loading", save_moved_away, false, nullptr, 0, "wrote",
         full},
        {"a dump cut short by the file size limit", old, false,
         [] {
             fail_writes_instead_of_signals(); // as start-up does
             rlimit limit = {400, 400};
             setrlimit(RLIMIT_FSIZE, &limit);
         },
         0, "write", full.substr(0, 400)},
        {"a write-only file holding a copy", write_only_copy, true, nullptr, 0, "wrote", full},
        {"a FIFO, which the dump waits to be read", fifo, false, nullptr, 0, "wrote", full},
        {"a FIFO whose time another program changes", fifo, false,
         [] { set_open_seam([](const char *name) { chmod(name, 0644); }); }, 0, "wrote", full},
        {"a FIFO that may not be written", fifo_not_writable, true, nullptr, 0, "open", "-"},
        // A save file read through a FIFO is known by its identity alone: no dump waits on it.
        {"a save file read from a FIFO", fifo_save, false, nullptr, 0, "wrote", full},
        {"a FIFO save file named as the report", fifo_save_named, false, nullptr, 0, "save", "-"},
        {"the save file linked at a new name after the check", nothing, false,
         [] { set_open_seam([](const char *name) { link(g_seam_save.c_str(), name); }); }, 0,
         "save", contents},
        {"a report removed after the check is created anew", old, false,
         [] { set_open_seam([](const char *name) { unlink(name); }); }, 0, "wrote", full},
        {"the save file moved over a report after the check", old, false,
         [] {
             set_open_seam([](const char *name) {
                 link(g_seam_save.c_str(), (g_seam_save + "2").c_str());
                 rename((g_seam_save + "2").c_str(), name);
             });
         },
         0, "save", contents},
        {"a copy of the save file moved over a report after the check", old, false,
         [] {
             set_open_seam([](const char *name) { move_new_file(name, read_file(g_seam_save)); });
         },
         0, "holds", contents},
        {"a copy of the save file written into a report after the check", old, false,
         [] { set_open_seam([](const char *name) { write_file(name, read_file(g_seam_save)); }); },
         0, "holds", contents},
        {"a copy that another process holds under a lease", leased_copy, false, nullptr, 0, "open",
         contents + old_report},
        {"a name whose file is replaced at every open", old, false,
         [] { set_open_seam([](const char *name) { move_new_file(name, "new"); }); }, 0, "open",
         "new"},
    };
    std::string skipped;
    for (const auto &row : cases) {
        load_in_new_folder();
        std::string name = folder + "/r.txt", got = "-";
        g_seam_save = save;
        if (row.setup == save_moved_away) {
            name = save;
            save = folder + "/moved.txt";
            fs::rename(name, save);
        } else if (row.setup == old || row.setup == write_only_copy || row.setup == leased_copy) {
            write_file(name, row.setup == old ? old_report : contents + old_report);
            chmod(name.c_str(), row.setup == write_only_copy ? 0222 : 0644);
        } else if (row.setup == fifo || row.setup == fifo_not_writable) {
            ASSERT_EQ(mkfifo(name.c_str(), row.setup == fifo ? 0644 : 0444), 0);
        } else if (row.setup == fifo_save || row.setup == fifo_save_named) {
            fs::remove(save);
            ASSERT_EQ(mkfifo(save.c_str(), 0644), 0);
            std::thread server([&] { write_file(save, contents); });
            CapturedConsole quiet;
            EXPECT_TRUE(load_save_file(save.c_str())) << row.label;
            server.join();
            name = row.setup == fifo_save ? name : save;
        }
        // The holder hears nothing of the break and keeps its lease till it closes.
        int holder = row.setup == leased_copy ? open(name.c_str(), O_RDWR) : -1;
        if (holder != -1 &&
            (std::signal(SIGIO, SIG_IGN), fcntl(holder, F_SETLEASE, F_WRLCK)) != 0) {
            skipped += std::string(row.label) + ": no lease here: " + std::strerror(errno) + "\n";
            close(holder);
            continue;
        }
        std::function<void(int)> reader = [&](int child) {
            usleep(300 * 1000);
            // Still in its open, the child counts as a writer: reading cannot hang.
            if (waitpid(child, nullptr, WNOHANG) == 0)
                got = read_file(name);
        };
        int status = 0;
        std::string console = dump_in_child(name, &status, row.as_nobody, row.prepare,
                                            row.setup == fifo ? reader : decltype(reader)());
        if (holder != -1)
            close(holder);
        if (console.rfind("\1", 0) == 0) {
            skipped += std::string(row.label) + ": " + console.substr(1) + "\n";
            continue;
        }
        int signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
        EXPECT_EQ(signal, row.signal) << row.label;
        EXPECT_EQ(console, row.console == "wrote"   ? wrote(3, name)
                           : row.console == "save"  ? refused(name, kIsSave)
                           : row.console == "holds" ? refused(name, kHoldsLines)
                           : row.console == "write"
                               ? "\nError: Could not write to \"" + name + "\"!\n\n"
                           : row.console == "open"
                               ? "\nError: Could not open or create \"" + name + "\"!\n\n"
                               : "")
            << row.label;
        if (row.setup != fifo && row.report != "-") // a FIFO is read only while the dump runs
            got = read_file(name);
        EXPECT_EQ(got, row.report) << row.label;
        if (row.setup != fifo_save && row.setup != fifo_save_named) {
            EXPECT_EQ(read_file(save), contents) << row.label << ": the save file changed";
        }
    }
    if (!skipped.empty())
        GTEST_SKIP() << skipped;
}

#endif

#ifdef _WIN32
// On Windows a backup program may hold a copy against reading: it cannot be checked
// and is left whole. A server's pipe of one instance goes to the report's own open,
// whichever of the system's spellings names its folder.
TEST_F(OpenReportTest, AHeldCopyIsLeftAndAPipeGetsTheWholeReport)
{
    std::string held_copy = folder + "/held.txt", copy = folder + "/copy.txt";
    write_file(held_copy, contents);
    write_file(copy, contents);
    // Share modes hold between two handles of one process as between two processes.
    HANDLE held = CreateFileA(held_copy.c_str(), GENERIC_READ, FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const std::pair<std::string, std::string> copies[] = {
        {held_copy, "\nError: Could not open or create \"" + held_copy + "\"!\n\n"},
        {kPipeFolder + "..\\" + copy, refused(kPipeFolder + "..\\" + copy, kHoldsLines)}};
    for (const auto &row : copies)
        EXPECT_EQ(dump(row.first, FilterKind::none, 0, 0, false), row.second);
    CloseHandle(held);
    EXPECT_EQ(read_file(held_copy) + read_file(copy), contents + contents) << "a copy changed";

    // As written, as the system takes it, and as it resolves the name's "..".
    const char *spellings[] = {"\\\\.\\pipe\\", "\\??\\pipe\\", "\\\\.\\C:\\..\\pipe\\"};
    for (const char *spelling : spellings) {
        std::string pipe_name = "tamsel-" + std::to_string(GetCurrentProcessId());
        HANDLE pipe = CreateNamedPipeA((kPipeFolder + pipe_name).c_str(), PIPE_ACCESS_INBOUND,
                                       PIPE_TYPE_BYTE | PIPE_WAIT, 1, 0, 1 << 16, 0, nullptr);
        std::string received;
        std::thread server([&] {
            ConnectNamedPipe(pipe, nullptr); // at once when a client came first
            char piece[4096];
            for (DWORD got = 0; ReadFile(pipe, piece, sizeof piece, &got, nullptr) && got > 0;)
                received.append(piece, got);
        });
        std::string name = spelling + pipe_name;
        EXPECT_EQ(dump(name, FilterKind::none, 0, 0, true), wrote(3, name));
        // A client that sends nothing lets go of a server that no dump reached.
        HANDLE client = CreateFileA((kPipeFolder + pipe_name).c_str(), GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
        if (client != INVALID_HANDLE_VALUE)
            CloseHandle(client);
        server.join();
        CloseHandle(pipe);
        EXPECT_EQ(received, full) << name << ": the pipe's server got another report";
    }
}
#endif

} // namespace
