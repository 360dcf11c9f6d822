// Tests of the whole dialogue run in-process: limits of typed words and long inputs.
#include "app/startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/test_support.h"

namespace fs = std::filesystem;

namespace
{

const std::string kSave = "1\t2,3\tN\t4,5,6\t7,8,9\t10,11,12,13\t14,15,16,17,18,19\t20,21\n"
                          "2\t5,3\tM\t7,5,6\t7,8,100\t10,11,12,13\t14,15,16,17,18,19\t20,21\n";

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

} // namespace
