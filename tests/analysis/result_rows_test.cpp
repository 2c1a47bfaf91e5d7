#include "analysis/result_rows.h"

#include <gtest/gtest.h>

#include "analysis/number_format.h"

namespace varn {
namespace {

TEST(PercentageTest, RoundsUpToThreeDecimals) {
    struct Case {
        std::uint64_t count;
        std::uint64_t total;
        const char* shown;
    };
    const Case cases[] = {
        {1, 3, "33.334"}, {1, 4, "25"},         {1, 8, "12.5"},       {2, 6, "33.334"},
        {1, 6, "16.667"}, {3, 3, "100"},        {0, 5, "0"},          {0, 0, "0"},
        {5, 0, "0"},      {1, 100000, "0.001"}, {1, 100001, "0.001"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatNumber(Percentage(c.count, c.total)), c.shown)
            << c.count << " of " << c.total;
    }
}

TEST(ResultRowTest, UsesTheLocaleSeparatorAndRawCharacterBytes) {
    SetDecimalSeparator(',');
    const std::string row = ResultRow(LetterEntry{0xE0, 1, 0xFF}, 3, "\xFF");
    SetDecimalSeparator('.');
    EXPECT_EQ(row, "   1\t 33,334 %\t\t\xE0\t\xFF");
    EXPECT_EQ(ResultRow(LetterEntry{0, 1, 0}, 1, "0"), "   1\t 100 %\t\t\t0");
}

TEST(ResultRowTest, CountsPrintAsWholeNumbersBeyondFloatPrecision) {
    const std::uint64_t big = (std::uint64_t{1} << 24) + 1;
    EXPECT_EQ(ResultRow(LetterEntry{'a', big, 'a'}, big, "a"), "   16777217\t 100 %\t\ta\ta");
}

}  // namespace
}  // namespace varn
