#include "analysis/result_rows.h"

#include <gtest/gtest.h>

#include <string>

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
        {1, 3, "33.334"},
        {1, 4, "25"},
        {1, 8, "12.5"},
        {2, 6, "33.334"},
        {1, 6, "16.667"},
        {3, 3, "100"},
        {0, 5, "0"},
        {0, 0, "0"},
        {5, 0, "0"},
        {1, 100000, "0.001"},
        {1, 100001, "0.001"},
        // Round quotients stay round: a floating-point quotient lands just above them.
        {28, 100, "28"},
        {7, 100, "7"},
        {14, 100, "14"},
        {11, 20, "55"},
        {57, 100, "57"},
        {29, 50, "58"},
        {7, 25, "28"},
        {3, 1000, "0.3"},
        {1234567, 10000000, "12.346"},
        {(std::uint64_t{1} << 50) - 1, std::uint64_t{1} << 50, "100"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatNumber(Percentage(c.count, c.total)), c.shown)
            << c.count << " of " << c.total;
    }
}

// The text shown is the least number of thousandths q with q / 1000 >= count * 100 / total,
// checked in integers for every pair up to a total of 2000.
TEST(PercentageTest, ShowsTheExactCeilingForAllSmallPairs) {
    int wrong = 0;
    for (std::uint64_t total = 1; total <= 2000; ++total) {
        for (std::uint64_t count = 0; count <= total; ++count) {
            const std::string shown = FormatNumber(Percentage(count, total));
            const std::size_t point = shown.find('.');
            std::uint64_t q = std::stoull(shown.substr(0, point)) * 1000;
            if (point != std::string::npos) {
                const std::string decimals = (shown.substr(point + 1) + "000").substr(0, 3);
                q += std::stoull(decimals);
                ASSERT_LE(shown.size() - point - 1, 3u) << shown;
            }
            const bool ceiling =
                q * total >= count * 100000 && (q == 0 || (q - 1) * total < count * 100000);
            if (!ceiling && ++wrong <= 5)
                ADD_FAILURE() << count << " of " << total << ": " << shown;
        }
    }
    EXPECT_EQ(wrong, 0);
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

// The usual stops hold counts up to seven digits; from eight on the column grows with them.
TEST(ResultRowTest, TabStopsWidenForCountsOfEightDigitsAndMore) {
    const struct {
        std::uint64_t total;
        std::size_t stop;
    } cases[] = {
        {0, 8},          {9'999'999, 8}, {10'000'000, 12}, {999'999'999, 13}, {1'073'741'824, 14},
        {UINT64_MAX, 24}};
    for (const auto& c : cases) EXPECT_EQ(ResultTabStop(c.total), c.stop) << c.total;
}

}  // namespace
}  // namespace varn
