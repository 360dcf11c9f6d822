// Tests of the dump writer: report bytes, counts, refusals and write failures.
#include "convert/writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "convert/line_table.h"
#include "tests/test_support.h"

namespace fs = std::filesystem;

namespace
{

std::string character(int id, int account, const char *name, int zeny)
{
    return std::to_string(id) + "\t" + std::to_string(account) + ",0\t" + name +
           "\t7,10,20\t30,40," + std::to_string(zeny) + "\t50,60,70,80\t1,2,3,4,5,6\t9,8\tx,y\n";
}

std::string sheet(int id, int account, const char *name, int zeny)
{
    return std::string("--------- ") + name + " ---------\nCharacter ID: \t" + std::to_string(id) +
           "\nAccount ID: \t" + std::to_string(account) + "\nSlot: \t\t0\nName: \t\t" + name +
           "\nJob ID: \t\tKnight\nBase Lvl: \t\t10\nJob Lvl: \t\t20\nBase Exp: \t\t30\nJob "
           "Exp: \t\t40\nZeny: \t\t" +
           std::to_string(zeny) +
           "\nHP: \t\t\t50/60\nSP: \t\t\t70/80\nSTR: \t\t\t1\nAGI: \t\t\t2\nVIT: \t\t\t3\nINT: "
           "\t\t\t4\nDEX: \t\t\t5\nLUK: \t\t\t6\nStat Points: \t9\nSkill Points: \t8\n\n";
}

// A scratch folder holding a loaded save file of three characters and two other lines.
struct DumpTest : ::testing::Test {
    void SetUp() override
    {
        folder = make_scratch_folder();
        save = folder + "/athena.txt";
        contents = character(1, 150, "One", 100) + "\n" + character(2, 151, "Two Words", 500) +
                   character(3, 150, "Three", 900) + "4\t%newid%\n";
        write_file(save, contents);
        CapturedConsole quiet;
        ASSERT_TRUE(load_save_file(save.c_str()));
    }

    std::string dump(const std::string &name, FilterKind kind, std::int32_t first,
                     std::int32_t second, bool expected_result)
    {
        CapturedConsole console;
        EXPECT_EQ(dump_characters(name.c_str(), kind, first, second), expected_result) << name;
        EXPECT_EQ(read_file(save), contents) << "the save file changed";
        return console.output();
    }

    std::string folder, save, contents;
};

TEST_F(DumpTest, WritesEveryCharacterLineAndCountsSheets)
{
    std::string report = folder + "/all.txt";
    EXPECT_EQ(dump(report, FilterKind::none, 0, 0, true),
              "\nSuccessfully wrote 3 character(s) to \"" + report + "\"\n");
    EXPECT_EQ(read_file(report),
              as_text_file(sheet(1, 150, "One", 100) + sheet(2, 151, "Two Words", 500) +
                           sheet(3, 150, "Three", 900)));
}

TEST_F(DumpTest, WritesOnlyWhatPassesTheFilter)
{
    std::string report = folder + "/f.txt";
    dump(report, FilterKind::account, 150, 0, true);
    EXPECT_EQ(read_file(report),
              as_text_file(sheet(1, 150, "One", 100) + sheet(3, 150, "Three", 900)));
    dump(report, FilterKind::zeny_range, 100, 900, true);
    EXPECT_EQ(read_file(report), as_text_file(sheet(2, 151, "Two Words", 500)));
    EXPECT_EQ(dump(report, FilterKind::zeny_range, 900, 100, true),
              "\nSuccessfully wrote 0 character(s) to \"" + report + "\"\n");
    EXPECT_EQ(read_file(report), "");
    EXPECT_TRUE(fs::exists(report));
}

TEST_F(DumpTest, RefusesTheSaveFileHoweverItIsNamed)
{
    std::string names[] = {save, folder + "/./athena.txt", folder + "/sub/../athena.txt",
                           folder + "/link.txt", folder + "/hard.txt"};
    fs::create_directory(folder + "/sub");
    std::error_code error;
    fs::create_symlink(save, folder + "/link.txt", error);
    fs::create_hard_link(save, folder + "/hard.txt", error);
    for (const std::string &name : names) {
        if (!fs::exists(name))
            continue; // links are not possible on every file system
        EXPECT_EQ(dump(name, FilterKind::none, 0, 0, false),
                  "\nError: \"" + name + "\" is the save file and will not be overwritten!\n\n");
    }
}

// Both the file that was loaded and the file at the save file's path now are kept
// safe: the loaded one moved away, or a new one put in its place by the server.
TEST_F(DumpTest, RefusesTheLoadedFileAndTheFileNowAtItsPath)
{
    std::string moved = folder + "/moved.txt";
    fs::rename(save, moved);
    CapturedConsole console;
    EXPECT_FALSE(dump_characters(moved.c_str(), FilterKind::none, 0, 0));
    EXPECT_EQ(read_file(moved), contents);

    write_file(folder + "/new.txt", "the server's newer save");
    fs::rename(folder + "/new.txt", save);
    EXPECT_FALSE(dump_characters(save.c_str(), FilterKind::none, 0, 0));
    EXPECT_EQ(read_file(save), "the server's newer save");
    EXPECT_EQ(console.output(),
              "\nError: \"" + moved + "\" is the save file and will not be overwritten!\n\n" +
                  "\nError: \"" + save + "\" is the save file and will not be overwritten!\n\n");
}

// A save file that cannot be opened for writing is still named as the save file, not
// as a report that could not be created.
TEST(DumpCharacters, RefusesASaveFileThatCannotBeWritten)
{
    // A file without write permission stops everyone but root; the kernel's own
    // read-only settings stop root too.
    std::string own = make_scratch_folder() + "/athena.txt";
    write_file(own, "1\t2,3\tN\t4,5,6\t7,8,9\t10,11,12,13\t14,15,16,17,18,19\t20,21\n");
    fs::permissions(own, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    std::string save;
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
    EXPECT_EQ(console.output(),
              "\nError: \"" + save + "\" is the save file and will not be overwritten!\n\n");
}

// A report larger than the writer's buffer reaches the file whole and in order.
TEST_F(DumpTest, AReportOfManySheetsIsWrittenWhole)
{
    std::string many, expected;
    for (int i = 0; i < 400; ++i) {
        many += character(i, 150 + i % 3, "Many", i);
        expected += sheet(i, 150 + i % 3, "Many", i);
    }
    write_file(save, many);
    contents = many;
    CapturedConsole quiet;
    ASSERT_TRUE(load_save_file(save.c_str()));
    std::string report = folder + "/many.txt";
    EXPECT_EQ(dump(report, FilterKind::none, 0, 0, true),
              "\nSuccessfully wrote 400 character(s) to \"" + report + "\"\n");
    EXPECT_EQ(read_file(report), as_text_file(expected));
}

TEST_F(DumpTest, ReportsNamesThatCannotBeCreated)
{
    const std::string names[] = {folder, folder + "/missing/out.txt", ""};
    for (const std::string &name : names) {
        EXPECT_EQ(dump(name, FilterKind::none, 0, 0, false),
                  "\nError: Could not open or create \"" + name + "\"!\n\n");
    }
}

TEST_F(DumpTest, AFullDiskIsAnErrorNotACount)
{
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    EXPECT_EQ(dump("/dev/full", FilterKind::none, 0, 0, false),
              "\nError: Could not write to \"/dev/full\"!\n\n");
    // Nothing handed to the file, nothing failed.
    EXPECT_EQ(dump("/dev/full", FilterKind::job, 4046, 0, true),
              "\nSuccessfully wrote 0 character(s) to \"/dev/full\"\n");
}

} // namespace
