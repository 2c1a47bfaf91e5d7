#include <gtest/gtest.h>

#include "analysis/letter_table.h"
#include "analysis/replace_letters.h"

namespace varn {
namespace {

TEST(UpperCharTest, UndoesLowerCharOnEveryCapitalAndTouchesNothingElse) {
    int raised = 0;
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        if (LowerChar(byte) != byte) {
            EXPECT_EQ(UpperChar(LowerChar(byte)), byte) << b;
        }
        if (UpperChar(byte) != byte) {
            EXPECT_EQ(LowerChar(UpperChar(byte)), byte) << b;
            ++raised;
        }
    }
    EXPECT_EQ(raised, 26 + 32 + 1);  // Latin, Cyrillic and yo small letters
}

TEST(SubstitutionMapTest, ACapitalsPartnerIsACapitalOnlyWhenAsked) {
    LetterTable table;
    ResetLetterTable(table);
    // Partners given by the standard: Cyrillic, Latin, yo both ways, and a partner without case.
    const struct {
        unsigned char small, partner;
    } pairs[] = {{0xE0, 0xEE}, {'q', 'z'}, {0xB8, 0xFE}, {0xE5, 0xB8}, {0xE1, '7'}};
    for (const auto& p : pairs) table[p.small].paired = p.partner;
    const ByteMap small = SubstitutionMap(table);
    const ByteMap kept = SubstitutionMap(table, CapitalPartner::Capital);
    const struct {
        unsigned char in, asInStandard, capital;
    } cases[] = {
        {0xC0, 0xEE, 0xCE},                                          // А: о, О
        {0xE0, 0xEE, 0xEE},                                          // а: о either way
        {'Q', 'z', 'Z'},    {'q', 'z', 'z'},    {0xA8, 0xFE, 0xDE},  // Ё: ю, Ю
        {0xC5, 0xB8, 0xA8},                                          // Е: ё, Ё
        {0xC1, '7', '7'},                                            // Б: a digit has no capital
        {0xC2, 0xE2, 0xC2},  // В, unpaired: folded, or kept
        {'5', '5', '5'},    {'\n', '\n', '\n'},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(small[c.in], c.asInStandard) << int{c.in};
        EXPECT_EQ(kept[c.in], c.capital) << int{c.in};
    }
    // Every byte that is no capital maps alike either way.
    for (int b = 0; b < 256; ++b) {
        if (LowerChar(static_cast<unsigned char>(b)) == b) {
            EXPECT_EQ(kept[b], small[b]) << b;
        }
    }
}

}  // namespace
}  // namespace varn
