// Tests of the text helpers: the case-blind match. Decimal writing is tested with
// the console's write_text, which uses it.
#include "console/text_helpers.h"

#include <gtest/gtest.h>

namespace
{

TEST(EqualIgnoringCase, FoldsOnlyAsciiLetters)
{
    EXPECT_TRUE(equal_ignoring_case("ATHENA.TXT", "athena.txt"));
    EXPECT_TRUE(equal_ignoring_case("Athena.Txt", "athena.txt"));
    EXPECT_TRUE(equal_ignoring_case("error", "ERROR"));
    EXPECT_FALSE(equal_ignoring_case("athena.txt ", "athena.txt"));
    EXPECT_FALSE(equal_ignoring_case("athena.tx", "athena.txt"));
    EXPECT_FALSE(equal_ignoring_case("\xc9RROR", "\xe9rror"));
}

} // namespace
