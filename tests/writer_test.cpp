// Tests of the dump writer: report bytes, counts and write failures.
#include "convert/writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/dump_fixture.h"

namespace fs = std::filesystem;

namespace
{

TEST_F(DumpTest, WritesTheSheetOfEveryKeptCharacterAndCountsThem)
{
    std::string report = folder + "/all.txt";
    EXPECT_EQ(dump(report, FilterKind::none, 0, 0, true), wrote(3, report));
    EXPECT_EQ(read_file(report), full);
}

TEST_F(DumpTest, WritesOnlyWhatPassesTheFilter)
{
    std::string report = folder + "/f.txt";
    dump(report, FilterKind::account, 150, 0, true);
    EXPECT_EQ(read_file(report),
              as_text_file(sheet(1, 150, "One", 100) + sheet(3, 150, "Three", 900)));
    dump(report, FilterKind::zeny_range, 100, 900, true);
    EXPECT_EQ(read_file(report), as_text_file(sheet(2, 151, "Two Words", 500)));
    EXPECT_EQ(dump(report, FilterKind::zeny_range, 900, 100, true), wrote(0, report));
    EXPECT_EQ(read_file(report), "");
    EXPECT_TRUE(fs::exists(report));
}

// A report of more characters than the kept values first had room for, and far
// larger than the writer's buffer, reaches the file whole and in order, each sheet
// as the reference writes it, whatever the class.
TEST_F(DumpTest, AReportOfManySheetsIsWrittenWhole)
{
    static const std::int32_t kClasses[] = {0, 7, 13, 23, 4008, 4017, 4023, 24, 4000, 4024, -7};
    std::vector<CharacterRecord> records;
    contents.clear();
    for (int i = 0; i < 2500; ++i) {
        std::string name = "Many " + std::to_string(i);
        records.push_back(test_character(i, 150 + i % 3, name.c_str(), kClasses[i % 11], i * 999));
        contents += character_line(records.back()) + "\n";
    }
    write_file(save, contents);
    CapturedConsole quiet;
    ASSERT_TRUE(load_save_file(save.c_str()));
    std::string report = folder + "/many.txt";
    for (std::int32_t job : {-1, 4008, 24}) {
        std::string expected;
        int count = 0;
        for (const CharacterRecord &r : records) {
            if (job == -1 || r.class_number == job) {
                expected += character_sheet(r);
                ++count;
            }
        }
        FilterKind kind = job == -1 ? FilterKind::none : FilterKind::job;
        EXPECT_EQ(dump(report, kind, job, 0, true), wrote(count, report)) << "job " << job;
        // Not EXPECT_EQ: gtest's diff of texts this long runs out of memory.
        EXPECT_TRUE(read_file(report) == as_text_file(expected)) << "job " << job;
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
