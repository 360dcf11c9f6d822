// Tests of the console window around a run, with the console calls replaced.
#include "app/console_window.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"

namespace
{

// The console the fake calls answer for, and what was done to it.
struct FakeConsole {
    bool is_console;
    std::uint32_t processes;
    std::uint32_t names; // the code page of file names
    std::uint32_t input;
    std::uint32_t output;
    void (*handler)();
};
FakeConsole g_fake;

const ConsoleCalls kFakeCalls = {
    [] { return g_fake.is_console; },
    [] { return g_fake.processes; },
    [] { return g_fake.names; },
    [] { return g_fake.input; },
    [] { return g_fake.output; },
    [](std::uint32_t input, std::uint32_t output) {
        g_fake.input = input;
        g_fake.output = output;
    },
    [](void (*handler)()) { g_fake.handler = handler; },
};

const char kWait[] = "\nPress Enter to close this window.\n";

struct WindowCase {
    bool is_console;
    std::uint32_t processes;
    std::uint32_t names;
    bool must_be_read;
    std::uint32_t run_page; // both code pages while the run lasts
    const char *output;     // written at the end
};

TEST(ConsoleWindow, SetsTheCodePagesAndWaitsOnlyInAWindowOfItsOwn)
{
    const WindowCase cases[] = {
        {true, 1, 1252, true, 1252, kWait}, // double-clicked, ended on an error
        {true, 1, 1252, false, 1252, ""},   // double-clicked, quit
        {true, 2, 1252, true, 1252, ""},    // started from cmd
        {true, 1, 932, true, 932, kWait},   // one code page for both
        {true, 1, 65001, true, 850, kWait}, // UTF-8 names: the pages stay
        {false, 1, 1252, true, 850, ""},    // a pipe or a file: nothing changes
        {false, 0, 0, true, 850, ""},       // no console at all (not Windows)
    };
    for (const WindowCase &row : cases) {
        std::string label = std::to_string(row.is_console) + " " + std::to_string(row.processes) +
                            " " + std::to_string(row.names) + " " +
                            std::to_string(row.must_be_read);
        g_fake = {row.is_console, row.processes, row.names, 850, 437, nullptr};
        CapturedConsole console("x\nenter\nnot read\n");
        begin_console_run(kFakeCalls);
        EXPECT_EQ(g_fake.input, row.run_page) << label;
        EXPECT_EQ(g_fake.output, row.run_page == 850 ? 437u : row.run_page) << label;
        end_console_run(row.must_be_read);
        EXPECT_EQ(console.output(), row.output) << label;
        EXPECT_EQ(g_fake.input, 850u) << label;
        EXPECT_EQ(g_fake.output, 437u) << label;
        std::string rest(std::istreambuf_iterator<char>(console.in), {});
        EXPECT_EQ(rest, *row.output != '\0' ? "not read\n" : "x\nenter\nnot read\n") << label;
    }
}

TEST(ConsoleWindow, ABreakRestoresTheCodePages)
{
    g_fake = {true, 2, 1252, 850, 437, nullptr};
    begin_console_run(kFakeCalls);
    ASSERT_NE(g_fake.handler, nullptr);
    g_fake.handler();
    EXPECT_EQ(g_fake.input, 850u);
    EXPECT_EQ(g_fake.output, 437u);
    end_console_run(false);
}

#ifndef _WIN32
TEST(ConsoleWindow, ElsewhereThereIsNoConsoleToChangeOrWaitIn)
{
    CapturedConsole console("x\nenter\n");
    begin_console_run(kSystemConsole);
    end_console_run(true);
    EXPECT_EQ(console.output(), "");
}
#endif

} // namespace
