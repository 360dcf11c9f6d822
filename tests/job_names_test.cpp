// Tests of the job name table.
#include "convert/job_names.h"

#include <gtest/gtest.h>

namespace
{

TEST(JobNameFor, FindsEveryKindOfRow)
{
    const std::pair<std::int32_t, const char *> cases[] = {
        {0, "Novice"},         {7, "Knight"},
        {13, "Knight 2"},      {21, "Crusader 2"},
        {23, "Super Novice"},  {4001, "Novice High"},
        {4008, "Lord Knight"}, {4013, "Assassin Cross"},
        {4017, "Proffesor"},   {4023, "Baby Novice"},
    };
    for (const auto &row : cases) {
        char name[kJobNameSize] = "previous";
        job_name_for(row.first, name);
        EXPECT_STREQ(name, row.second) << "class: " << row.first;
    }
}

TEST(JobNameFor, NumbersWithoutARowNameThemselves)
{
    const std::pair<std::int32_t, const char *> cases[] = {
        {24, "Unknown (24)"},
        {4000, "Unknown (4000)"},
        {4024, "Unknown (4024)"},
        {4046, "Unknown (4046)"},
        {-1, "Unknown (-1)"},
        {INT32_MIN, "Unknown (-2147483648)"},
        {INT32_MAX, "Unknown (2147483647)"},
    };
    for (const auto &row : cases) {
        char name[kJobNameSize] = "Knight";
        job_name_for(row.first, name);
        EXPECT_STREQ(name, row.second) << "class: " << row.first;
    }
}

} // namespace
