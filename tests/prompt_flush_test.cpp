// Drives the real program through pipes, answering each prompt only once it has
// arrived: a prompt left in the output buffer makes the test time out and fail.
#include <gtest/gtest.h>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace
{

constexpr int kWaitMilliseconds = 10000;

struct Child {
    pid_t pid;
    int to_child;
    int from_child;
    std::string seen;
};

Child start_program(const std::string &folder)
{
    int in_pipe[2], out_pipe[2];
    if (pipe(in_pipe) != 0 || pipe(out_pipe) != 0)
        std::abort();
    pid_t pid = fork();
    if (pid == 0) {
        dup2(in_pipe[0], 0);
        dup2(out_pipe[1], 1);
        close(in_pipe[1]);
        close(out_pipe[0]);
        if (chdir(folder.c_str()) != 0)
            _exit(127);
        execl(TAMSEL_PROGRAM, TAMSEL_PROGRAM, static_cast<char *>(nullptr));
        _exit(127);
    }
    close(in_pipe[0]);
    close(out_pipe[1]);
    return {pid, in_pipe[1], out_pipe[0], ""};
}

// Reads until `marker` appears after what was already matched; false on a time-out.
bool wait_for(Child &child, std::size_t &from, const std::string &marker)
{
    for (;;) {
        std::size_t at = child.seen.find(marker, from);
        if (at != std::string::npos) {
            from = at + marker.size();
            return true;
        }
        pollfd ready = {child.from_child, POLLIN, 0};
        if (poll(&ready, 1, kWaitMilliseconds) <= 0)
            return false;
        char chunk[4096];
        ssize_t got = read(child.from_child, chunk, sizeof chunk);
        if (got <= 0)
            return false;
        child.seen.append(chunk, static_cast<std::size_t>(got));
    }
}

TEST(Prompts, EachPromptArrivesBeforeTheProgramWaits)
{
    char folder_template[] = "/tmp/tamsel-prompts-XXXXXX";
    std::string folder = mkdtemp(folder_template);
    std::ofstream(folder + "/athena.txt")
        << "1\t150,0\tN\t7,5,6\t7,8,500\t10,11,12,13\t14,15,16,17,18,19\t20,21\n";

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
    Child child = start_program(folder);
    std::size_t from = 0;
    for (const auto &step : steps) {
        ASSERT_TRUE(wait_for(child, from, step.first))
            << "no prompt \"" << step.first << "\" within the wait; output so far:\n"
            << child.seen;
        std::string answer = step.second;
        ASSERT_EQ(write(child.to_child, answer.data(), answer.size()),
                  static_cast<ssize_t>(answer.size()));
    }
    close(child.to_child);
    int status = 0;
    waitpid(child.pid, &status, 0);
    close(child.from_child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_NE(child.seen.find("Successfully wrote 1 character(s) to \"job.txt\"\n"),
              std::string::npos);
    std::error_code error;
    std::filesystem::remove_all(folder, error);
}

} // namespace
