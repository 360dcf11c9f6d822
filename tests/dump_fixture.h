// The fixture of the dump's tests, the writer's and the report's checks alike: a
// scratch folder holding a loaded save file, and the messages a dump prints.
#ifndef TAMSEL_TESTS_DUMP_FIXTURE_H
#define TAMSEL_TESTS_DUMP_FIXTURE_H

#include <gtest/gtest.h>

#include <string>

#include "convert/loader.h"
#include "convert/writer.h"
#include "tests/test_support.h"

// A line of the save files here: a Knight with these values, more values after its 22.
inline std::string character(int id, int account, const char *name, int zeny)
{
    return character_line(test_character(id, account, name, 7, zeny)) + "\tx,y\n";
}

inline std::string sheet(int id, int account, const char *name, int zeny)
{
    return character_sheet(test_character(id, account, name, 7, zeny));
}

// A scratch folder holding a loaded save file of three characters and two other lines.
struct DumpTest : ::testing::Test {
    void SetUp() override { load_in_new_folder(); }

    void load_in_new_folder()
    {
        folder = make_scratch_folder();
        save = folder + "/athena.txt";
        contents = character(1, 150, "One", 100) + "\n" + character(2, 151, "Two Words", 500) +
                   character(3, 150, "Three", 900) + "4\t%newid%\n";
        write_file(save, contents);
        CapturedConsole quiet;
        ASSERT_TRUE(load_save_file(save.c_str()));
        full = as_text_file(sheet(1, 150, "One", 100) + sheet(2, 151, "Two Words", 500) +
                            sheet(3, 150, "Three", 900));
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
    std::string full; // the report of every character
};

inline std::string wrote(int count, const std::string &name)
{
    return "\nSuccessfully wrote " + std::to_string(count) + " character(s) to \"" + name + "\"\n";
}

inline std::string refused(const std::string &name, const char *why)
{
    return "\nError: \"" + name + "\" " + why + " and will not be overwritten!\n\n";
}

inline const char kIsSave[] = "is the save file";
inline const std::string kPipeFolder = "\\\\.\\pipe\\";
inline const char kHoldsLines[] = "holds character lines";

#endif
