// Tests of file identity and emptying through open handles, and of names read as
// text: their file parts and pipe names.
#include "platform/files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/test_support.h"

namespace fs = std::filesystem;

namespace
{

#ifdef _WIN32
const char kNullDevice[] = "NUL";
#else
const char kNullDevice[] = "/dev/null";
#endif

// The identity of the file at `name`, opened for reading; fails the test when none.
FileIdentity identity_of(const std::string &name)
{
    FileIdentity identity = {};
    std::FILE *file = std::fopen(name.c_str(), "r");
    EXPECT_NE(file, nullptr) << name;
    if (file != nullptr) {
        EXPECT_TRUE(file_identity(file, &identity)) << name;
        std::fclose(file);
    }
    return identity;
}

TEST(FileIdentity, IsOneForEverySpellingOfAFileAndApartForOthers)
{
    std::string folder = make_scratch_folder();
    write_file(folder + "/a.txt", "a");
    write_file(folder + "/b.txt", "a");
    fs::create_directory(folder + "/sub");
    std::error_code error;
    fs::create_hard_link(folder + "/a.txt", folder + "/hard.txt", error);
    const FileIdentity a = identity_of(folder + "/a.txt");
    const std::string same[] = {folder + "/./a.txt", folder + "/sub/../a.txt",
                                folder + "/hard.txt"};
    for (const std::string &name : same) {
        if (fs::exists(name)) { // hard links are not possible on every file system
            EXPECT_TRUE(same_identity(a, identity_of(name))) << name;
        }
    }
    EXPECT_FALSE(same_identity(a, identity_of(folder + "/b.txt")));
}

TEST(EmptyFile, CutsAFileOpenedForAppendingAndLeavesADeviceAlone)
{
    std::string name = make_scratch_folder() + "/r.txt";
    write_file(name, "an earlier report");
    std::FILE *file = std::fopen(name.c_str(), "a");
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(empty_file(file));
    std::fputs("new", file);
    EXPECT_EQ(std::fclose(file), 0);
    EXPECT_EQ(read_file(name), "new");

    std::FILE *device = std::fopen(kNullDevice, "a");
    ASSERT_NE(device, nullptr);
    EXPECT_TRUE(empty_file(device));
    std::fclose(device);
}

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
