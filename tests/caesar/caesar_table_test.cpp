#include "caesar/caesar_table.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace varn {
namespace {

TEST(CaesarTableTest, ShiftsAndWrapsTheTopCodesInReverse) {
    const std::pair<int, int> cases[] = {
        {'a', 'd'}, {'w', 'z'}, {'x', 123}, {'z', 125}, {' ', 35}, {252, 255},   {253, 34},
        {254, 33},  {255, 32},  {0, 0},     {10, 10},   {31, 31},  {0xE0, 0xE3},  // а -> г
    };
    for (const auto& [plain, cipher] : cases) {
        EXPECT_EQ(CaesarEncipher(static_cast<unsigned char>(plain)), cipher) << plain;
        EXPECT_EQ(CaesarDecipher(static_cast<unsigned char>(cipher)), plain) << cipher;
    }
}

TEST(CaesarTableTest, DecipherIsTheInverseAndNothingCrossesCode32) {
    const ByteMap e = CaesarEncipherMap();
    const ByteMap d = CaesarDecipherMap();
    std::set<int> image;
    for (int b = 0; b < 256; ++b) {
        EXPECT_EQ(d[e[b]], b);
        EXPECT_EQ(e[b] < 32, b < 32);
        image.insert(e[b]);
    }
    EXPECT_EQ(image.size(), 256u);
}

}  // namespace
}  // namespace varn
