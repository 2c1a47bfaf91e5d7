#include "passgen/system_random_source.h"

#include <gtest/gtest.h>

#include <bitset>
#include <set>

namespace varn {
namespace {

// Enough draws to cross many buffer refills; a stuck or repeated buffer shows up as missing
// byte values or as too few distinct words.
TEST(SystemRandomSource, CoversEveryLowByteAcrossRefills) {
    SystemRandomSource random;
    std::bitset<256> lowSeen;
    std::bitset<256> highSeen;
    std::set<std::uint16_t> words;
    for (int i = 0; i < 20000; ++i) {
        const std::uint16_t w = random.Draw();
        lowSeen.set(w & 0xFF);
        highSeen.set(w >> 8);
        words.insert(w);
    }
    EXPECT_TRUE(lowSeen.all());
    EXPECT_TRUE(highSeen.all());
    // 20000 draws from 65536 values leave about 17200 distinct ones; far fewer means repeats.
    EXPECT_GT(words.size(), 15000u);
}

TEST(SystemRandomSource, SeparateSourcesDoNotRepeatEachOther) {
    SystemRandomSource a;
    SystemRandomSource b;
    int same = 0;
    for (int i = 0; i < 64; ++i) same += a.Draw() == b.Draw();
    EXPECT_LT(same, 8);
}

}  // namespace
}  // namespace varn
