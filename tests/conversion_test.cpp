// Tests of the character line scan, the sheet format and the filters.
#include "convert/conversion.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

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

TEST(ScanCharacterLine, AcceptsOnlyLinesWithAll22Values)
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
        "1\t2,3\tName\t4,5,6\t7,8,9\t10,11,12,13\t14,15,16,17,18,19\t20,21\tignored", &r));
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

const char kSampleSheet[] = "--------- Sir Lancelot ---------\n"
                            "Character ID: \t150002\n"
                            "Account ID: \t2000001\n"
                            "Slot: \t\t1\n"
                            "Name: \t\tSir Lancelot\n"
                            "Job ID: \t\tKnight\n"
                            "Base Lvl: \t\t82\n"
                            "Job Lvl: \t\t50\n"
                            "Base Exp: \t\t-120394021\n"
                            "Job Exp: \t\t9438201\n"
                            "Zeny: \t\t1250000\n"
                            "HP: \t\t\t7650/7651\n"
                            "SP: \t\t\t220/221\n"
                            "STR: \t\t\t90\n"
                            "AGI: \t\t\t60\n"
                            "VIT: \t\t\t70\n"
                            "INT: \t\t\t1\n"
                            "DEX: \t\t\t40\n"
                            "LUK: \t\t\t5\n"
                            "Stat Points: \t12\n"
                            "Skill Points: \t-2147483648\n"
                            "\n";

TEST(FormatSheet, WritesTheSheetByteForByte)
{
    char out[kLineBufferSize];
    std::size_t length = format_sheet(sample_record(), out, sizeof out);
    EXPECT_STREQ(out, kSampleSheet);
    EXPECT_EQ(length, std::strlen(kSampleSheet));
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

TEST(ConvertLine, ReplacesTheLineWithItsSheet)
{
    char buffer[kLineBufferSize];
    std::strcpy(buffer, "150002\t2000001,1\tSir Lancelot\t7,82,50\t-120394021,9438201,1250000\t"
                        "7650,7651,220,221\t90,60,70,1,40,5\t12,-2147483648\t0,0\tmore");
    EXPECT_EQ(convert_line(buffer, FilterKind::none, 0, 0), buffer);
    EXPECT_STREQ(buffer, kSampleSheet);
}

TEST(ConvertLine, UnknownClassNeverShowsAnEarlierJob)
{
    char buffer[kLineBufferSize];
    std::strcpy(buffer, line_with_name("Known").c_str());
    convert_line(buffer, FilterKind::none, 0, 0);
    EXPECT_STREQ(character_record().job_name, "Lord Knight");
    std::strcpy(buffer, "1\t2,3\tStranger\t4046,5,6\t7,8,9\t10,11,12,13\t14,15,16,17,18,19\t20,21");
    ASSERT_EQ(convert_line(buffer, FilterKind::none, 0, 0), buffer);
    EXPECT_NE(std::strstr(buffer, "Job ID: \t\tUnknown (4046)\n"), nullptr) << buffer;
}

TEST(ConvertLine, LinesThatAreNoCharacterGiveTheSentinel)
{
    const char *lines[] = {"", "150123\t%newid%", "1\t2,3\tName\t4,5,6", "\r"};
    for (const char *line : lines) {
        char buffer[kLineBufferSize];
        std::strcpy(buffer, line);
        EXPECT_STREQ(convert_line(buffer, FilterKind::none, 0, 0), kFilterSentinel)
            << "line: " << line;
    }
}

struct FilterCase {
    FilterKind kind;
    std::int32_t first, second;
    std::int32_t account, class_number, zeny;
    bool keeps;
};

TEST(PassesFilter, BoundsAreExactAndZenyBoundsExclusive)
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

TEST(ConvertLine, AFilteredOutLineGivesTheSentinel)
{
    char buffer[kLineBufferSize];
    std::strcpy(buffer, line_with_name("Arwen").c_str());
    EXPECT_STREQ(convert_line(buffer, FilterKind::account, 2000002, 0), kFilterSentinel);
    std::strcpy(buffer, line_with_name("Arwen").c_str());
    EXPECT_EQ(convert_line(buffer, FilterKind::account, 2000001, 0), buffer);
}

} // namespace
