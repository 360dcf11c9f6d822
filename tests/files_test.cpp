// Tests of file identity and emptying through open handles.
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

TEST(TruncateToEmpty, CutsAFileOpenedForAppendingAndLeavesADeviceAlone)
{
    std::string name = make_scratch_folder() + "/r.txt";
    write_file(name, "an earlier report");
    std::FILE *file = std::fopen(name.c_str(), "a");
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(truncate_to_empty(file));
    std::fputs("new", file);
    EXPECT_EQ(std::fclose(file), 0);
    EXPECT_EQ(read_file(name), "new");

    std::FILE *device = std::fopen(kNullDevice, "a");
    ASSERT_NE(device, nullptr);
    EXPECT_TRUE(truncate_to_empty(device));
    std::fclose(device);
}

} // namespace
