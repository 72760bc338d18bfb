// The difference report of the golden-file comparison: what a person sees when output changed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/CompilerWarnings.h"
#include "tests/cli/TextDiff.h"

namespace zz::test {
namespace {

// "l1\n" ... "l<last>\n".
std::string Lines(int first, int last, const std::string& prefix = "l")
{
    std::string text;
    for (int i = first; i <= last; ++i) {
        text += prefix + std::to_string(i) + "\n";
    }
    return text;
}

TEST(TextDiff, NamesTheFirstDifferingLineAndShowsEachChangeWithContext)
{
    struct TCase
    {
        const char* What;
        std::string Expected;
        std::string Actual;
        std::string Report;
    };
    const std::vector<TCase> cases = {
        {"equal texts", Lines(1, 3), Lines(1, 3), ""},
        {"a changed line", Lines(1, 10), Lines(1, 4) + "L5\n" + Lines(6, 10),
         "first difference at line 5 (expected has 10 lines, actual 10)\n"
         "  expected: l5\n"
         "  actual:   L5\n"
         "@@ -2,7 +2,7 @@\n l2\n l3\n l4\n-l5\n+L5\n l6\n l7\n l8\n"},
        {"an inserted line", Lines(1, 6), Lines(1, 3) + "new\n" + Lines(4, 6),
         "first difference at line 4 (expected has 6 lines, actual 7)\n"
         "  expected: l4\n"
         "  actual:   new\n"
         "@@ -1,6 +1,7 @@\n l1\n l2\n l3\n+new\n l4\n l5\n l6\n"},
        {"two changes far apart", Lines(1, 20),
         Lines(1, 2) + "A\n" + Lines(4, 15) + "B\n" + Lines(17, 20),
         "first difference at line 3 (expected has 20 lines, actual 20)\n"
         "  expected: l3\n"
         "  actual:   A\n"
         "@@ -1,6 +1,6 @@\n l1\n l2\n-l3\n+A\n l4\n l5\n l6\n"
         "@@ -13,7 +13,7 @@\n l13\n l14\n l15\n-l16\n+B\n l17\n l18\n l19\n"},
        {"the last line feed missing", Lines(1, 2), "l1\nl2",
         "first difference at line 2 (expected has 2 lines, actual 2)\n"
         "  expected: l2\n"
         "  actual:   l2 (no newline at end)\n"
         "@@ -1,2 +1,2 @@\n l1\n-l2\n+l2\n\\ no newline at end\n"},
        {"no output at all", Lines(1, 2), "",
         "first difference at line 1 (expected has 2 lines, actual 0)\n"
         "  expected: l1\n"
         "  actual:   (end of text)\n"
         "@@ -1,2 +0,0 @@\n-l1\n-l2\n"},
    };
    for (const TCase& item : cases) {
        SCOPED_TRACE(item.What);
        EXPECT_EQ(DescribeTextDifference(item.Expected, item.Actual), item.Report);
    }
}

ZZ_GCC12_FALSE_RESTRICT_BEGIN
TEST(TextDiff, StaysShortWhenMuchDiffers)
{
    const std::string longRun =
        DescribeTextDifference(Lines(1, 2), Lines(1, 2) + Lines(1, 30, "x"));
    EXPECT_NE(longRun.find("+x12\n+... 18 more lines\n"), std::string::npos) << longRun;
    EXPECT_EQ(longRun.find("+x13"), std::string::npos) << longRun;

    std::string expected;
    std::string actual;
    for (int block = 0; block < 8; ++block) {
        const std::string prefix = "b" + std::to_string(block) + "_";
        expected += Lines(1, 5, prefix);
        actual += Lines(1, 2, prefix) + "Z\n" + Lines(4, 5, prefix);
    }
    const std::string many = DescribeTextDifference(expected, actual);
    EXPECT_NE(many.find("-b4_3\n"), std::string::npos) << many;
    EXPECT_EQ(many.find("-b5_3\n"), std::string::npos) << many;
    EXPECT_NE(many.find("(further differences not shown)"), std::string::npos) << many;
}
ZZ_GCC12_FALSE_RESTRICT_END

} // namespace
} // namespace zz::test
