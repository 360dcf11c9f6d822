// Tests of the character line scan, the sheet format and the filters.
#include "convert/conversion.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/reference.h"
#include "tests/test_support.h"

namespace
{

// The 22 values of a typical line, then further groups as a server writes them.
const std::string kTail = "\t100,200,300\t11,12,13,14\t1,2,3,4,5,6\t7,8";
const std::string kRest = "\t0,0,0\tprontera.gat,150,180\t1,501,3,0,1,0 2,502,1,0,1,0\t1,5 2,3\t";

std::string line_with_name(const std::string &name)
{
    return "150001\t2000001,0\t" + name + "\t4008,99,70" + kTail + kRest;
}

struct ScanCase {
    std::string line;
    bool character;
    const char *name;
};

TEST(ScanCharacterLine, AcceptsOnlyLinesWithAll22ValuesAndReadsTheirNames)
{
    const ScanCase cases[] = {
        {line_with_name("Arwen"), true, "Arwen"},
        {"150001\t2000001,0\tArwen\t4008,99,70" + kTail, true, "Arwen"},
        {"150001\t2000001,0\tArwen\t4008,99,70" + kTail + "\r", true, "Arwen"},
        {"  150001 \t\t 2000001,0   Arwen\t\t\t4008,99,70   100,200,300 11,12,13,14 "
         "1,2,3,4,5,6\n7,8",
         true, "Arwen"},
        {"150001\v2000001,0\fArwen\t4008,99,70" + kTail + "abc", true, "Arwen"},
        {"150001\t2000001,0\tArwen\t4008,99,70\t100,200,300\t11,12,13,14\t1,2,3,4,5,6\t7;8", false,
         nullptr},
        {"150001\t2000001, 0\tArwen\t4008, 99,  70" + kTail, true, "Arwen"},
        {"150001\t2000001 ,0\tArwen\t4008,99,70" + kTail, false, nullptr},
        {"150001\t2000001,0\tArwen\t4008,99,70\t100,200,300\t11,12,13,14\t1,2,3,4,5,6\t7", false,
         nullptr},
        {"150001\t2000001,0\tArwen\t4008,99,70\t100,200,300\t11,12,13,14\t1,2,3,4,5,6\t7,", false,
         nullptr},
        {"150001\t2000001,0\tArwen\t4008,99,70\t100,200,300\t11,12,13,14\t1,2,3,4,5,6\t7,+", false,
         nullptr},
        {"150001\t2000001,0\tArwen\t4008,99,70\t100,200,300\t11,12,13,14\t1,2,3,4,5,6\t7,-8", true,
         "Arwen"},
        {"", false, nullptr},
        {"   ", false, nullptr},
        {"150123\t%newid%", false, nullptr},
        {"150001\t2000001,0\t", false, nullptr},
        {"150001\t2000001,0\tArwen\t4008,99,70\t", false, nullptr},
        {"150001\t2000001,0\tSir Lancelot  ", false, nullptr},
        {"garbage that is not a character", false, nullptr},
        {line_with_name("Sir Lancelot"), true, "Sir Lancelot"},
        {line_with_name("Sir Lancelot   "), true, "Sir Lancelot"},
        {line_with_name("  A  B  C  "), true, "A  B  C"},
        {line_with_name("Ren\xe9"
                        "e \xc9toile"),
         true,
         "Ren\xe9"
         "e \xc9toile"},
        {line_with_name("\xa0\xff\x80"), true, "\xa0\xff\x80"},
        {line_with_name(std::string(31, 'n')), true, "nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn"},
        {line_with_name(std::string(32, 'n')), true, "nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn"},
        {line_with_name(std::string(200, 'n')), true, "nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn"},
        {line_with_name("The Knight Who Says Ni And Then Some"), true,
         "The Knight Who Says Ni And Then"},
        {line_with_name(std::string(30, 'x') + " y   "), true, "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxx "},
    };
    for (const ScanCase &row : cases) {
        CharacterRecord record = {};
        EXPECT_EQ(scan_character_line(row.line.c_str(), &record), row.character)
            << "line: " << row.line;
        if (row.character) {
            EXPECT_STREQ(record.name, row.name) << "line: " << row.line;
            EXPECT_EQ(record.class_number, 4008) << "line: " << row.line;
            EXPECT_EQ(record.stat_luk, 6) << "line: " << row.line;
        }
    }
}

TEST(ScanCharacterLine, ReadsEveryValueInOrder)
{
    CharacterRecord r = {};
    ASSERT_TRUE(scan_character_line(
        (character_line(test_character(1, 2, "Name")) + "\tignored").c_str(), &r));
    const std::int32_t got[] = {
        r.character_id, r.account_id,    r.slot,        r.class_number, r.base_level, r.job_level,
        r.base_exp,     r.job_exp,       r.zeny,        r.hp,           r.max_hp,     r.sp,
        r.max_sp,       r.stat_str,      r.stat_agi,    r.stat_vit,     r.stat_int,   r.stat_dex,
        r.stat_luk,     r.status_points, r.skill_points};
    for (std::int32_t i = 0; i < 21; ++i)
        EXPECT_EQ(got[i], i + 1) << "value " << i;
}

TEST(ScanCharacterLine, OverlongValuesKeepTheirLow32Bits)
{
    const std::pair<const char *, std::int32_t> cases[] = {
        {"2147483647", 2147483647},
        {"2147483648", INT32_MIN},
        {"-2147483648", INT32_MIN},
        {"-2147483649", 2147483647},
        {"4294967295", -1},
        {"4294967296", 0},
        {"4294967396", 100},
        {"+4294967297", 1},
        {"000000000000000000000000000042", 42},
        {"123456789012345678901234567890", 1312754386},
        {"42949672961", 1},
    };
    for (const auto &row : cases) {
        std::string line = std::string("1\t2,3\tN\t4,5,6\t") + row.first +
                           ",8,9\t10,11,12,13\t14,15,16,17,18,19\t20,21";
        CharacterRecord r = {};
        ASSERT_TRUE(scan_character_line(line.c_str(), &r)) << "value: " << row.first;
        EXPECT_EQ(r.base_exp, row.second) << "value: " << row.first;
    }
}

CharacterRecord sample_record()
{
    CharacterRecord r = {};
    r.character_id = 150002;
    r.account_id = 2000001;
    r.slot = 1;
    std::strcpy(r.name, "Sir Lancelot");
    r.class_number = 7;
    std::strcpy(r.job_name, "Knight");
    r.base_level = 82;
    r.job_level = 50;
    r.base_exp = -120394021;
    r.job_exp = 9438201;
    r.zeny = 1250000;
    r.hp = 7650;
    r.max_hp = 7651;
    r.sp = 220;
    r.max_sp = 221;
    r.stat_str = 90;
    r.stat_agi = 60;
    r.stat_vit = 70;
    r.stat_int = 1;
    r.stat_dex = 40;
    r.stat_luk = 5;
    r.status_points = 12;
    r.skill_points = INT32_MIN;
    return r;
}

TEST(FormatSheet, WritesTheSheetByteForByte)
{
    char out[kSheetRoom];
    std::size_t length = format_sheet(sample_record(), out, sizeof out);
    EXPECT_EQ(out, character_sheet(sample_record()));
    EXPECT_EQ(length, std::strlen(out));
}

// Every number of the sheet at each width and sign where its groups of digits
// change, against the reference's printf.
TEST(FormatSheet, WritesEveryNumberAtEveryWidth)
{
    const std::int32_t values[] = {0,    9,      10,          99,        100,        999,
                                   1000, 999999, 1000000,     999999999, 1000000000, INT32_MAX,
                                   -1,   -1000,  -1000000000, INT32_MIN};
    for (std::int32_t value : values) {
        CharacterRecord r = sample_record();
        for (std::int32_t *field :
             {&r.character_id, &r.account_id, &r.slot,     &r.class_number, &r.base_level,
              &r.job_level,    &r.base_exp,   &r.job_exp,  &r.zeny,         &r.hp,
              &r.max_hp,       &r.sp,         &r.max_sp,   &r.stat_str,     &r.stat_agi,
              &r.stat_vit,     &r.stat_int,   &r.stat_dex, &r.stat_luk,     &r.status_points,
              &r.skill_points})
            *field = value;
        job_name_for(r.class_number, r.job_name);
        char out[kSheetRoom];
        std::size_t length = format_sheet(r, out, sizeof out);
        EXPECT_EQ(std::string(out, length), character_sheet(r)) << "value " << value;
    }
}

TEST(FormatSheet, CutsAtTheBufferSize)
{
    char out[16];
    std::memset(out, 'x', sizeof out);
    EXPECT_EQ(format_sheet(sample_record(), out, 12), 11u);
    EXPECT_STREQ(out, "--------- S");
    EXPECT_EQ(out[12], 'x');
    // No room at all: nothing is written, not even the NUL.
    std::memset(out, 'x', sizeof out);
    EXPECT_EQ(format_sheet(sample_record(), out + 1, 0), 0u);
    EXPECT_EQ(std::string(out, sizeof out), std::string(sizeof out, 'x'));
}

// The sheet a dump writes of `line`, on the path a line takes: the scan at load
// time, then the filter, the job and the sheet of its values; empty when there is
// none. One record serves every line, as in a dump.
std::string dumped_sheet(const std::string &line, FilterKind kind, std::int32_t first,
                         std::int32_t second)
{
    static CharacterRecord record;
    if (!scan_character_line(line.c_str(), &record) || !passes_filter(record, kind, first, second))
        return "";
    job_name_for(record.class_number, record.job_name);
    char sheet[kSheetRoom];
    format_sheet(record, sheet, sizeof sheet);
    return sheet;
}

// Each kept line gives the sheet of the reference's reading of it, whatever line
// came before; a line that is no character line, or that fails the filter, gives none.
TEST(ScanFilterAndSheet, GiveTheReferenceSheetOfAPassingCharacterLineAndNothingElse)
{
    const struct {
        std::string line;
        FilterKind kind;
        std::int32_t first;
        bool kept;
    } rows[] = {
        {character_line(sample_record()) + "\t0,0\tmore", FilterKind::none, 0, true},
        {line_with_name("Known"), FilterKind::none, 0, true},
        // An unknown class must not show the job of the line before.
        {character_line(test_character(1, 2, "Stranger", 4046)), FilterKind::none, 0, true},
        {"", FilterKind::none, 0, false},
        {"150123\t%newid%", FilterKind::none, 0, false},
        {"1\t2,3\tName\t4,5,6", FilterKind::none, 0, false},
        {"\r", FilterKind::none, 0, false},
        {line_with_name("Arwen"), FilterKind::account, 2000002, false},
        {line_with_name("Arwen"), FilterKind::account, 2000001, true},
    };
    for (const auto &row : rows) {
        CharacterRecord expected = {};
        EXPECT_EQ(dumped_sheet(row.line, row.kind, row.first, 0),
                  row.kept && reference_character(row.line.c_str(), expected)
                      ? character_sheet(expected)
                      : "")
            << "line: " << row.line;
    }
}

struct FilterCase {
    FilterKind kind;
    std::int32_t first, second;
    std::int32_t account, class_number, zeny;
    bool keeps;
};

TEST(PassesFilter, KeepsAnEqualAccountOrJobAndAZenyStrictlyBetweenTheBounds)
{
    const FilterCase cases[] = {
        {FilterKind::none, 0, 0, 5, 5, 5, true},
        {FilterKind::none, -9, -9, INT32_MIN, -1, INT32_MIN, true},
        {FilterKind::account, 150, 0, 150, 7, 0, true},
        {FilterKind::account, 150, 0, 151, 7, 0, false},
        {FilterKind::account, 0, 0, 0, 7, 0, true},
        {FilterKind::job, 7, 0, 150, 7, 0, true},
        {FilterKind::job, 7, 0, 150, 4008, 0, false},
        {FilterKind::job, 4008, 0, 150, 4008, 0, true},
        {FilterKind::job, 0, 0, 150, 0, 0, true},
        {FilterKind::zeny_range, 100, 900, 0, 0, 100, false},
        {FilterKind::zeny_range, 100, 900, 0, 0, 101, true},
        {FilterKind::zeny_range, 100, 900, 0, 0, 899, true},
        {FilterKind::zeny_range, 100, 900, 0, 0, 900, false},
        {FilterKind::zeny_range, 900, 100, 0, 0, 500, false},
        {FilterKind::zeny_range, -5, 5, 0, 0, -4, true},
        {FilterKind::zeny_range, INT32_MIN, INT32_MAX, 0, 0, INT32_MIN, false},
        {FilterKind::zeny_range, INT32_MIN, INT32_MAX, 0, 0, INT32_MAX, false},
        {FilterKind::zeny_range, INT32_MIN, INT32_MAX, 0, 0, 0, true},
    };
    for (const FilterCase &row : cases) {
        CharacterRecord r = {};
        r.account_id = row.account;
        r.class_number = row.class_number;
        r.zeny = row.zeny;
        EXPECT_EQ(passes_filter(r, row.kind, row.first, row.second), row.keeps)
            << "kind " << static_cast<int>(row.kind) << " first " << row.first << " second "
            << row.second << " zeny " << row.zeny;
    }
}

} // namespace
