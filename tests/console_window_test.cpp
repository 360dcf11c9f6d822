// Tests of the console window around a run, with the console calls replaced.
#include "app/console_window.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "tests/test_support.h"

namespace
{

// The console the fake calls answer for: its code pages start at 850 and 437.
struct FakeConsole {
    bool is_console;
    std::uint32_t processes;
    std::uint32_t names; // the code page of file names
    std::uint32_t input;
    std::uint32_t output;
    void (*handler)();
    bool dropped; // what was typed ahead was dropped
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
    [] { g_fake.dropped = true; },
};

TEST(ConsoleWindow, SetsTheCodePagesAndWaitsOnlyInAWindowOfItsOwn)
{
    const struct {
        bool is_console;
        std::uint32_t processes, names;
        bool must_be_read;
        std::uint32_t run_input, run_output; // the code pages while the run lasts
        bool waits;
    } cases[] = {
        {true, 1, 1252, true, 1252, 1252, true},   // double-clicked, ended on an error
        {true, 1, 1252, false, 1252, 1252, false}, // double-clicked, quit
        {true, 2, 1252, true, 1252, 1252, false},  // started from cmd
        {true, 1, 65001, true, 850, 437, true},    // UTF-8 file names: the pages stay
        {false, 1, 1252, true, 850, 437, false},   // a pipe or a file
    };
    for (const auto &row : cases) {
        const std::string label = "row " + std::to_string(&row - cases);
        g_fake = {row.is_console, row.processes, row.names, 850, 437, nullptr, false};
        CapturedConsole console("x\nenter\nnot read\n");
        begin_console_run(kFakeCalls);
        EXPECT_EQ(g_fake.input, row.run_input) << label;
        EXPECT_EQ(g_fake.output, row.run_output) << label;
        // A break while the run lasts finds the pages restored.
        ASSERT_EQ(g_fake.handler != nullptr, row.run_input != 850u) << label;
        if (g_fake.handler != nullptr) {
            g_fake.handler();
            EXPECT_EQ(g_fake.input, 850u) << label;
            EXPECT_EQ(g_fake.output, 437u) << label;
            g_fake.input = g_fake.output = 1252; // the run goes on
        }
        end_console_run(row.must_be_read);
        EXPECT_EQ(g_fake.input, 850u) << label;
        EXPECT_EQ(g_fake.output, 437u) << label;
        EXPECT_EQ(console.output(), row.waits ? "\nPress Enter to close this window.\n" : "")
            << label;
        EXPECT_EQ(g_fake.dropped, row.waits) << label;
        std::string rest(std::istreambuf_iterator<char>(console.in), {});
        EXPECT_EQ(rest, row.waits ? "not read\n" : "x\nenter\nnot read\n") << label;
    }
}

} // namespace
