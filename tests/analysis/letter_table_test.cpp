#include "analysis/letter_table.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>

namespace varn {
namespace {

TEST(LowerCharTest, FoldsLatinCyrillicAndYoOnly) {
    const std::pair<int, int> cases[] = {
        {'A', 'a'}, {'Z', 'z'}, {'@', '@'}, {'[', '['}, {'a', 'a'}, {'z', 'z'},
        {192, 224}, {223, 255}, {191, 191}, {224, 224}, {255, 255}, {168, 184},
        {184, 184}, {167, 167}, {169, 169}, {0, 0},     {13, 13},   {'1', '1'},
    };
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(LowerChar(static_cast<unsigned char>(in)), out) << "byte " << in;
    }
}

TEST(InEtalonTest, LooksOnlyBeforeTheFirstNul) {
    const std::string s("ab\0c", 4);
    EXPECT_TRUE(InEtalon('a', s));
    EXPECT_TRUE(InEtalon('b', s));
    EXPECT_FALSE(InEtalon('c', s));
    EXPECT_FALSE(InEtalon(0, s));
    EXPECT_FALSE(InEtalon('a', ""));
    EXPECT_TRUE(InEtalon(13, "x\r\ny"));
}

// The sort as the text gives it: 256 passes of adjacent exchanges.
void BubbleSortReference(LetterTable& table, int direction) {
    for (int pass = 0; pass < 256; ++pass) {
        for (int j = 0; j + 1 < 256 - pass; ++j) {
            const bool exchange = (direction == 0 && table[j].count < table[j + 1].count) ||
                                  (direction == 1 && table[j].count > table[j + 1].count);
            if (exchange) std::swap(table[j], table[j + 1]);
        }
    }
}

LetterTable RandomTable(unsigned seed) {
    std::mt19937 random(seed);
    LetterTable table;
    ResetLetterTable(table);
    std::shuffle(table.begin(), table.end(), random);
    for (auto& entry : table) entry.count = random() % 6;  // many ties
    return table;
}

bool SameEntries(const LetterTable& a, const LetterTable& b) {
    for (int i = 0; i < 256; ++i) {
        if (a[i].character != b[i].character || a[i].count != b[i].count ||
            a[i].paired != b[i].paired)
            return false;
    }
    return true;
}

TEST(SortLetterTableTest, EqualsTheBubbleSortInEveryDirection) {
    for (int direction : {0, 1, 2, -1}) {
        for (unsigned seed = 1; seed <= 20; ++seed) {
            LetterTable sorted = RandomTable(seed);
            LetterTable reference = sorted;
            SortLetterTable(sorted, direction);
            BubbleSortReference(reference, direction);
            EXPECT_TRUE(SameEntries(sorted, reference)) << "direction " << direction;
        }
    }
}

TEST(SortLetterTableTest, AscendingPutsAbsentCharactersFirstInByteOrder) {
    LetterTable table;
    ResetLetterTable(table);
    table['z'].count = 1;
    table['b'].count = 1;
    SortLetterTable(table, kAscending);
    EXPECT_EQ(table[0].character, 0);
    EXPECT_EQ(table[253].character, 255);
    EXPECT_EQ(table[254].character, 'b');
    EXPECT_EQ(table[255].character, 'z');
}

class PairWithEtalonTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetLetterTable(table);
        table['a'].count = 5;
        table['b'].count = 3;
        table['c'].count = 1;
    }
    unsigned char PairedOf(unsigned char c) const {
        for (const auto& entry : table)
            if (entry.character == c) return entry.paired;
        return 0;
    }
    LetterTable table;
};

TEST_F(PairWithEtalonTest, EmptyStandardNeitherSortsNorPairs) {
    PairWithEtalon(table, "", kDescending);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(table[i].character, i);
        EXPECT_EQ(table[i].paired, i);
    }
}

TEST_F(PairWithEtalonTest, PairsByRankFromTheFrequentEnd) {
    struct Case {
        std::string standard;
        int direction;
        std::string pairedOfABC;  // paired letters of a, b, c
    };
    const Case cases[] = {
        {"cba", kDescending, "cba"},  // the most frequent gets the front
        {"abc", kAscending, "cba"},   // ascending: the most frequent gets the back
        {"xyz", kDescending, "abc"},  // only characters of the standard take part
        {"cab", kDescending, "cab"},
        {"ba", kDescending, "bac"},   // c is not in the standard: keeps itself
        {"aab", kDescending, "aac"},  // only the first two positions are used
        {"abb", kAscending, "bbc"},   // only the last two positions are used
    };
    for (const Case& c : cases) {
        SetUp();
        PairWithEtalon(table, c.standard, c.direction);
        const std::string got{static_cast<char>(PairedOf('a')), static_cast<char>(PairedOf('b')),
                              static_cast<char>(PairedOf('c'))};
        EXPECT_EQ(got, c.pairedOfABC) << c.standard << " direction " << c.direction;
    }
}

TEST_F(PairWithEtalonTest, AbsentCharactersOfTheStandardArePairedAtTheRareEnd) {
    PairWithEtalon(table, "Qabc", kDescending);
    EXPECT_EQ(PairedOf('a'), 'Q');
    EXPECT_EQ(PairedOf('c'), 'b');
    EXPECT_EQ(PairedOf('Q'), 'c');  // count 0, so last of the four
}

TEST_F(PairWithEtalonTest, LongRepeatedStandardStopsAtTheIterationBound) {
    // 1000 positions but one distinct byte: the loop must end by its bound.
    PairWithEtalon(table, std::string(1000, 'b') + "a", kDescending);
    EXPECT_EQ(PairedOf('a'), 'b');
    EXPECT_EQ(PairedOf('b'), 'b');
}

TEST_F(PairWithEtalonTest, UnknownDirectionKeepsTheTableAsItIs) {
    PairWithEtalon(table, "xyz", 7);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(table[i].character, i);
        EXPECT_EQ(table[i].paired, i);
    }
}

}  // namespace
}  // namespace varn
