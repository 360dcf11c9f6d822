// Tests of Windows names read as text: their file parts and pipe names.
#include "platform/windows_names.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace
{

// On Windows the rest of such a name makes a stream inside the file part. Names
// come as the system resolves them, in UTF-8.
TEST(FilePartLength, EndsAtTheFirstColonOfTheLastComponentPastADrive)
{
    const std::pair<const char *, const char *> cases[] = {
        {"athena.txt", "athena.txt"},
        {"athena.txt:x", "athena.txt"},
        {"ATHENA.TXT:x:$DATA", "ATHENA.TXT"},
        {"C:athena.txt:x", "C:athena.txt"},
        {"\\\\?\\C:\\saves/athena.txt:x", "\\\\?\\C:\\saves/athena.txt"},
        {"\\\\.\\C:athena.txt:x", "\\\\.\\C:athena.txt"},
        {"a:b\\athena.txt", "a:b\\athena.txt"},
        {"C:", "C:"},
        {"", ""},
        {"C:\\セーブ\\athena.txt:表:$DATA", "C:\\セーブ\\athena.txt"}};
    for (const auto &row : cases)
        EXPECT_EQ(std::string(row.first, file_part_length(row.first)), row.second)
            << "input: " << row.first;
}

// Names that Windows opens as named pipes, which no examination may open, and
// names that are no pipe's.
TEST(NamesAPipe, KnowsThePipeFolderOfThisComputerAndOfServers)
{
    const char *pipes[] = {
        "\\\\.\\pipe\\tamsel", "\\\\?\\PIPE/tamsel", "//./Pipe/tamsel", "\\\\server\\pipe\\tamsel",
        "\\\\?\\UNC\\server\\pipe\\tamsel",
        // The system's own names for the pipe folder.
        "\\??\\pipe\\tamsel", "\\\\.\\Global\\pipe\\tamsel", "\\\\?\\global\\GLOBAL\\PIPE\\tamsel",
        "\\\\.\\GLOBALROOT\\??\\pipe\\tamsel", "\\\\?\\GLOBALROOT\\GLOBAL??\\Global\\pipe\\tamsel",
        "\\\\?\\GLOBALROOT\\DosDevices\\pipe\\tamsel",
        "\\\\?\\GLOBALROOT\\Device\\NamedPipe\\tamsel",
        "\\\\?\\GLOBALROOT\\Device\\Mup\\server\\pipe\\tamsel"};
    const char *others[] = {"\\\\.\\pipes\\tamsel",
                            "\\\\.\\C:\\pipe\\tamsel",
                            "\\\\server\\share\\pipe\\tamsel",
                            "\\\\\\pipe\\tamsel",
                            "C:\\pipe\\tamsel",
                            "\\pipe\\tamsel",
                            "\\\\server",
                            "\\??\\C:\\pipe\\tamsel",
                            "/?\?/pipe/tamsel",
                            "\\\\.\\Globals\\pipe\\tamsel",
                            "\\\\?\\GLOBALROOT\\Device\\HarddiskVolume1\\pipe\\tamsel",
                            "\\\\?\\GLOBALROOT\\Windows\\pipe\\tamsel"};
    for (const char *name : pipes)
        EXPECT_TRUE(names_a_pipe(name)) << "input: " << name;
    for (const char *name : others)
        EXPECT_FALSE(names_a_pipe(name)) << "input: " << name;
}

} // namespace
