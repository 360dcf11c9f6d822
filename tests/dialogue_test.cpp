// Tests of the whole dialogue run in-process: limits of typed words and long inputs,
// the endings, filter values never typed, and writes the system would end the run for.
#include "app/startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#ifndef _WIN32
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "tests/test_support.h"

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace
{

const std::string kSave = character_line(test_character()) + "\n" +
                          character_line(test_character(2, 5, "M", 7, 100)) + "\n";

const char kBanner[] = "\nTamsel\nThe 100% portable(Works on Win32 AND Linux!) tool you will learn "
                       "to love!\nWritten by the tamsel developers\n----\n\nPlease enter the "
                       "path to your \"athena.txt\":\n(Type 'athena.txt' if in same directory)\n";
const char kMenu[] = "\n----\n\nPlease select a option:\n1. Dump athena.txt to a file\n2. Filter "
                     "athena.txt then dump\n3. Quit\n\n";

std::string scratch_with_save()
{
    std::string folder = make_scratch_folder();
    write_file(folder + "/athena.txt", kSave);
    return folder;
}

TEST(Dialogue, APathLongerThan1023CharactersIsNeverOpened)
{
    std::string folder = scratch_with_save();
    std::string fits(1023, 'p');
    EXPECT_EQ(run_dialogue(folder, fits + "\n"),
              kBanner +
                  ("\nLoading \"" + fits + "\"...\n\nError: Could not open \"" + fits + "\"!\n\n"));
    const std::size_t too_long[] = {1024, 2047, 2048, 5000};
    for (std::size_t length : too_long) {
        EXPECT_EQ(run_dialogue(folder, std::string(length, 'p') + "\n3\n"),
                  kBanner + std::string("\nError: The path is longer than 1023 characters!\n\n"))
            << length;
    }
}

TEST(Dialogue, AReportNameLongerThan2047CharactersIsNeverOpened)
{
    std::string folder = scratch_with_save();
    const std::string head = std::string(kBanner) +
                             "\nLoading \"athena.txt\"...\nSuccessfully read 2 character(s) from "
                             "\"athena.txt\"\n" +
                             kMenu + "\n\nEnter a file name to save as:\n";
    const std::size_t too_long[] = {2048, 5000};
    for (std::size_t length : too_long) {
        // The rest of the long word is consumed: the 3 that follows answers the menu.
        EXPECT_EQ(run_dialogue(folder, "athena.txt 1 " + std::string(length, 'r') + " 3"),
                  head + "\nError: The file name is longer than 2047 characters!\n\n" + kMenu)
            << length;
    }
    std::string longest(2047, 'r');
    EXPECT_EQ(run_dialogue(folder, "athena.txt 1 " + longest + " 3"),
              head + "\nError: Could not open or create \"" + longest + "\"!\n\n" + kMenu);
    std::size_t entries = 0;
    for (const auto &entry : fs::directory_iterator(folder)) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 1u) << "only the save file may be in the folder";
    EXPECT_EQ(read_file(folder + "/athena.txt"), kSave);
}

// No file has a NUL in its name: a name typed with one opens nothing, neither the
// whole name nor the part before the NUL, and every message shows all it holds.
TEST(Dialogue, ANameTypedWithANulOpensNothing)
{
    const std::string loaded = kBanner + "\nLoading \"athena.txt\"...\nSuccessfully read 2 "s +
                               "character(s) from \"athena.txt\"\n" + kMenu + "\n";
    const std::string filter = loaded + "----\n\nSelet a filter:\n1. Account ID\n2. Job\n3. Zeny"
                                        "\n\nNOTE: Only filtered results will be saved!\n\n----\n";
    const std::string account = "\n----\n\nEnter the account ID you want to filter:\n";
    const std::string ask = "\nEnter a file name to save as:\n";
    auto not_opened = [](const std::string &name) {
        return "\nError: Could not open or create \"" + name + "\"!\n\n" + kMenu;
    };
    auto not_loaded = [](const std::string &path) {
        return kBanner + "\nLoading \""s + path + "\"...\n\nError: Could not open \"" + path +
               "\"!\n\n";
    };
    const std::pair<std::string, std::string> rows[] = {
        {"athena.txt\n1\nab\0cd.txt\n3\n"s, loaded + ask + not_opened("ab\0cd.txt"s)},
        {"athena.txt 1 \"ab\0cd.txt\" 3"s, loaded + ask + not_opened("ab\0cd.txt"s)},
        {"athena.txt 1 athena.txt\0x 3"s, loaded + ask + not_opened("athena.txt\0x"s)},
        {"athena.txt\0xyz 3"s, not_loaded("athena.txt\0xyz"s)},
        {"\0"s + std::string(1500, 'p'),
         kBanner + "\nError: The path is longer than 1023 characters!\n\n"s},
        // The range is shown before the name is refused.
        {"athena.txt 2 3 z\0.txt 100 900 3"s,
         filter + ask +
             "\nThe Zeny filter searches a range of zeny,\nYou "
             "will need to enter a minimum and max value for the range\n\n\n----\n\nShow me "
             "players with zeny greater than:\n\n----\n\nBut less than:\n\n----\n\nDumping "
             "characters with zeny greater than 100 but less than 900\n" +
             not_opened("z\0.txt"s)},
        {"athena.txt 2 1 a\0.txt x"s, filter + ask + account +
                                          "\nError: No number was given, so \"a\0.txt\" was not "s +
                                          "written!\n\n" + kMenu + "Invalid Selection!\n"},
        {"athena.txt 2 1 a\0.txt -1"s, filter + ask + account},
    };
    for (const auto &row : rows) {
        std::string folder = scratch_with_save();
        EXPECT_EQ(run_dialogue(folder, row.first), row.second) << "input: " << row.first;
        for (const auto &entry : fs::directory_iterator(folder))
            EXPECT_EQ(entry.path().filename(), "athena.txt") << "input: " << row.first;
        EXPECT_EQ(read_file(folder + "/athena.txt"), kSave) << "input: " << row.first;
    }
}

// Every ending but the quit choice leaves a message that a window of the run's own
// must keep on screen.
TEST(Dialogue, OnlyTheQuitChoiceEndsWithNothingLeftToRead)
{
    std::string folder = scratch_with_save();
    const std::pair<const char *, bool> cases[] = {
        {"athena.txt 3", true},
        {"athena.txt 1 r.txt 2 9 3 r.txt 1 100 3", true},
        {"missing.txt 3", false},
        {"\"\" 3", false},
        {"athena.txt 0", false},
        {"athena.txt x", false},
        {"athena.txt", false},
        {"athena.txt 2 0", false},
        {"athena.txt 2 1 r.txt -1", false},
        {"athena.txt 2 2 r.txt -5", false},
    };
    for (const auto &row : cases) {
        bool quit = !row.second;
        run_dialogue(folder, row.first, &quit);
        EXPECT_EQ(quit, row.second) << "input: " << row.first;
    }
}

// A filter value that was never typed as a number writes no report, and leaves an
// existing report of that name as it was; a number the input's end ends still counts.
TEST(Dialogue, AFilterValueNeverTypedWritesNoReport)
{
    const std::string kept = "an earlier report";
    const std::string none = "\nError: No number was given, so \"r.txt\" was not written!\n\n" +
                             std::string(kMenu) + "Invalid Selection!\n";
    const std::string account = "\n----\n\nEnter the account ID you want to filter:\n";
    const std::string job =
        "\n----\n\nEnter the Job ID(NOT NAME... I.e. 7 is Knight and etc) you want to filter:\n";
    // No echo of the range: a bound was never typed.
    const std::string upper = "\n----\n\nBut less than:\n";
    struct Row {
        const char *typed;
        std::string tail;   // the output from the last value prompt on
        std::string report; // r.txt afterwards
    };
    const Row rows[] = {
        {"2 1 r.txt admin", account + none, kept},
        {"2 1 r.txt", account + none, kept},
        {"2 2 r.txt Knight", job + none, kept},
        {"2 2 r.txt", job + none, kept},
        {"2 3 r.txt thousand", upper + none, kept},
        {"2 3 r.txt 1,000", upper + none, kept},
        {"2 3 r.txt 100", upper + none, kept},
        {"2 3 r.txt 100 x", upper + none, kept},
        // The 7 typed for the account must not become the job of the next visit.
        {"2 1 a.txt 7 2 2 r.txt", job + none, kept},
        {"2 2 r.txt 7",
         job + "\nSuccessfully wrote 1 character(s) to \"r.txt\"\n" + kMenu +
             "Invalid Selection!\n",
         as_text_file("--------- M ---------\n")},
    };
    for (const Row &row : rows) {
        std::string folder = scratch_with_save();
        write_file(folder + "/r.txt", kept);
        std::string output = run_dialogue(folder, std::string("athena.txt ") + row.typed);
        ASSERT_GE(output.size(), row.tail.size()) << "input: " << row.typed;
        EXPECT_EQ(output.substr(output.size() - row.tail.size()), row.tail)
            << "input: " << row.typed;
        EXPECT_EQ(read_file(folder + "/r.txt").substr(0, row.report.size()), row.report)
            << "input: " << row.typed;
    }
}

TEST(Dialogue, TenThousandAnswersOnOneLineAreReadInTurn)
{
    std::string folder = scratch_with_save();
    std::string input = "athena.txt";
    for (int i = 0; i < 10000; ++i)
        input += i % 2 == 0 ? " 5" : " -1";
    std::string output = run_dialogue(folder, input + " 3\n");
    std::size_t invalid = 0;
    for (std::size_t at = output.find("Invalid Selection!\n"); at != std::string::npos;
         at = output.find("Invalid Selection!\n", at + 1))
        ++invalid;
    EXPECT_EQ(invalid, 10000u);
    EXPECT_EQ(output.substr(output.size() - sizeof kMenu + 1), kMenu);
}

#ifndef _WIN32
// A write that the system would end the run for fails instead: it is reported as
// such, and the run goes on to the menu. Start-up alone sets this up, so each row
// starts with its signal as a new process has it.
TEST(Dialogue, WritesTheSystemWouldEndTheRunForAreFailedWrites)
{
    std::string folder = make_scratch_folder(), fifo = folder + "/f";
    std::string many; // sheets far beyond what a pipe holds
    for (int i = 0; i < 400; ++i)
        many += kSave;
    write_file(folder + "/athena.txt", many);
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    auto leave_early = [&](int) {
        int reader = open(fifo.c_str(), O_RDONLY);
        char some[10];
        EXPECT_GT(read(reader, some, sizeof some), 0);
        close(reader);
    };
    const struct {
        const char *report;
        int signal;
        std::function<void(int)> meanwhile;
    } rows[] = {{"f", SIGPIPE, leave_early}, // a FIFO whose reader leaves early
                {"r.txt", SIGXFSZ, {}}};     // a report that reaches the file-size limit
    for (const auto &row : rows) {
        int status = 0;
        std::string console = run_in_child(
            [&] {
                std::signal(row.signal, SIG_DFL);
                rlimit limit = {100, 100}; // a limit on files only, never on a FIFO
                setrlimit(RLIMIT_FSIZE, &limit);
                return run_dialogue(folder, std::string("athena.txt 1 ") + row.report + " 3");
            },
            &status, row.meanwhile);
        EXPECT_TRUE(WIFEXITED(status)) << row.report << " ended by signal " << WTERMSIG(status);
        std::string failed = "\nError: Could not write to \"" + std::string(row.report) + "\"!\n\n";
        EXPECT_NE(console.find(failed + kMenu), std::string::npos) << console;
    }
}
#endif

} // namespace
