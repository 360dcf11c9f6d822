// Drives the real program through pipes, answering each prompt only once it has
// arrived: a prompt left in the output buffer makes the test time out and fail.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "tests/test_support.h"

namespace
{

TEST(Prompts, EachPromptArrivesBeforeTheProgramWaits)
{
    std::string folder = make_scratch_folder();
    write_file(folder + "/athena.txt", character_line(test_character(1, 150, "N", 7, 500)) + "\n");

    const char *const menu = "3. Quit\n\n";
    const char *const name = "Enter a file name to save as:\n";
    const std::pair<const char *, const char *> steps[] = {
        {"(Type 'athena.txt' if in same directory)\n", "athena.txt\n"},
        {menu, "1\n"},
        {name, "all.txt\n"},
        {menu, "2\n"},
        {"NOTE: Only filtered results will be saved!\n", "3\n"},
        {name, "z.txt\n"},
        {"Show me players with zeny greater than:\n", "1\n"},
        {"But less than:\n", "900\n"},
        {menu, "2\n"},
        {"NOTE: Only filtered results will be saved!\n", "1\n"},
        {name, "acc.txt\n"},
        {"Enter the account ID you want to filter:\n", "150\n"},
        {menu, "2\n"},
        {"NOTE: Only filtered results will be saved!\n", "2\n"},
        {name, "job.txt\n"},
        {"you want to filter:\n", "7\n"},
        {menu, "3\n"},
    };
    Child child = start_child([&] {
        if (chdir(folder.c_str()) == 0)
            execl(TAMSEL_PROGRAM, TAMSEL_PROGRAM, static_cast<char *>(nullptr));
        return 127;
    });
    std::size_t from = 0;
    for (const auto &step : steps) {
        ASSERT_TRUE(read_until(child, from, step.first))
            << "no prompt \"" << step.first << "\" within the wait; output so far:\n"
            << child.seen;
        std::string answer = step.second;
        ASSERT_EQ(write(child.to_child, answer.data(), answer.size()),
                  static_cast<ssize_t>(answer.size()));
    }
    int status = finish_child(child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_NE(child.seen.find("Successfully wrote 1 character(s) to \"job.txt\"\n"),
              std::string::npos);
}

} // namespace
