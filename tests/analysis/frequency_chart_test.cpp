#include "analysis/frequency_chart.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>
#include <string>

#include "analysis/letter_count.h"
#include "io/failure.h"
#include "test_files.h"
#include "tests/support/iconv_text.h"

namespace varn {
namespace {

ByteCounts FoldedCountsOf(const std::string& text) {
    ByteCounts raw{};
    for (const char c : text) ++raw[static_cast<unsigned char>(c)];
    return FoldCounts(raw);
}

std::string Letters(const FrequencyChart& chart) {
    std::string out;
    for (const ChartBar& bar : chart.bars) out += static_cast<char>(bar.letter);
    return out;
}
std::string Partners(const FrequencyChart& chart) {
    std::string out;
    for (const ChartBar& bar : chart.bars) out += static_cast<char>(bar.partner);
    return out;
}

// b five times, a once, c never: both directions pair by rank from the standard's frequent end.
TEST(FrequencyChartTest, BarsFollowTheTableInBothDirections) {
    const ByteCounts folded = FoldedCountsOf("bbbBba");
    struct Case {
        int direction;
        const char* letters;
        const char* partners;
        std::size_t positions[3];
    };
    const Case cases[] = {
        {kDescending, "bac", "abc", {0, 1, 2}},
        {kAscending, "cab", "abc", {0, 1, 2}},
    };
    for (const Case& c : cases) {
        const FrequencyChart chart = BuildFrequencyChart(
            folded, "abc", c.direction, LetterLanguage::English, ChartOrder::ByCount);
        EXPECT_EQ(Letters(chart), c.letters);
        EXPECT_EQ(Partners(chart), c.partners);
        for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(chart.bars[i].position, c.positions[i]);
        EXPECT_EQ(chart.total, 6u);
        const double sum = std::accumulate(chart.bars.begin(), chart.bars.end(), 0.0,
                                           [](double s, const ChartBar& b) { return s + b.share; });
        EXPECT_DOUBLE_EQ(sum, 1.0);
        // The letter that never occurs has a bar of nothing, still paired.
        const ChartBar& never = c.direction == kDescending ? chart.bars[2] : chart.bars[0];
        EXPECT_EQ(never.letter, 'c');
        EXPECT_EQ(never.count, 0u);
        EXPECT_EQ(never.share, 0.0);
        EXPECT_TRUE(never.paired);
    }
}

// The bars are the rows of the count "On standard": same order, same partners, for a real
// count of a file with ties, capitals, Cyrillic and a repeated letter in the standard.
TEST(FrequencyChartTest, AgreesWithTheCountOnStandard) {
    test::TempDir dir;
    const std::string path = dir.Write("study.txt", "Hello, World! \xC0\xE0\xE1 zz\r\nqq");
    const std::string standards[] = {" etaonisrhldcupfmwybgvkqxjz", "zyxwvutsrqponmlkjihgfedcba ",
                                     "aab", "\xE0\xE1 eo", ""};
    for (const int direction : {kDescending, kAscending}) {
        for (const std::string& standard : standards) {
            LetterTable table;
            std::string s = standard;
            test::RecordingProgress a, b;
            CountOnEtalon(table, s, path, direction, a, b);
            ByteCounts folded{};
            for (const LetterEntry& entry : table) folded[entry.character] = entry.count;
            const FrequencyChart chart = BuildFrequencyChart(
                folded, standard, direction, LetterLanguage::English, ChartOrder::ByCount);
            std::string rows, paired;
            for (const LetterEntry& entry : table) {
                if (!InEtalon(entry.character, s)) continue;
                rows += static_cast<char>(entry.character);
                paired += static_cast<char>(entry.paired);
            }
            if (standard.empty()) continue;
            EXPECT_EQ(Letters(chart), rows) << standard << " " << direction;
            EXPECT_EQ(Partners(chart), paired) << standard << " " << direction;
            for (const ChartBar& bar : chart.bars)
                EXPECT_EQ(static_cast<unsigned char>(standard[bar.position]), bar.partner);
        }
    }
}

TEST(FrequencyChartTest, WithoutAStandardEveryLetterThatOccurs) {
    const FrequencyChart chart = BuildFrequencyChart(FoldedCountsOf("ab b, 12"), "", kDescending,
                                                     LetterLanguage::English, ChartOrder::ByCount);
    EXPECT_EQ(Letters(chart), " ba");
    for (const ChartBar& bar : chart.bars) EXPECT_FALSE(bar.paired);
    EXPECT_EQ(chart.statistics.chiSquared.degreesOfFreedom, 0);
}

TEST(FrequencyChartTest, ExpectedSharesAreThePartnersInTheLanguage) {
    const LanguageFrequencies& english = FrequenciesOf(LetterLanguage::English);
    const FrequencyChart chart = BuildFrequencyChart(FoldedCountsOf("xxxyz"), "etz", kDescending,
                                                     LetterLanguage::English, ChartOrder::ByCount);
    const double e = english.counts['e'], t = english.counts['t'], z = english.counts['z'];
    ASSERT_EQ(chart.bars.size(), 3u);  // x, y and z are not in the standard: only z has a bar
    EXPECT_EQ(Letters(chart), std::string("zet"));
    // z (once) pairs with e, e and t (never) with t and z.
    EXPECT_DOUBLE_EQ(chart.bars[0].expectedShare, e / (e + t + z));
    EXPECT_DOUBLE_EQ(chart.bars[1].expectedShare, t / (e + t + z));
    EXPECT_DOUBLE_EQ(chart.bars[2].expectedShare, z / (e + t + z));
    const double chi = ChiSquaredOfPairing({{1, e}, {0, t}, {0, z}}).value;
    EXPECT_DOUBLE_EQ(chart.statistics.chiSquared.value, chi);
}

TEST(FrequencyChartTest, AlphabeticalOrderPutsYoAfterYe) {
    // ж, ё, е, а, then a blank and a Latin letter (Windows-1251).
    const FrequencyChart chart = BuildFrequencyChart(
        FoldedCountsOf("\xE6\xE6\xE6\xE6\xB8\xB8\xB8\xE5\xE5\xE0  q"), "\xE0\xE5\xB8\xE6 q",
        kDescending, LetterLanguage::Russian, ChartOrder::Alphabetical);
    EXPECT_EQ(Letters(chart), "q\xE0\xE5\xB8\xE6 ");
    // The pairing is that of the count, whatever the order shown.
    const FrequencyChart byCount = BuildFrequencyChart(
        FoldedCountsOf("\xE6\xE6\xE6\xE6\xB8\xB8\xB8\xE5\xE5\xE0  q"), "\xE0\xE5\xB8\xE6 q",
        kDescending, LetterLanguage::Russian, ChartOrder::ByCount);
    // Ties keep byte order: the blank before е, q before а.
    EXPECT_EQ(Letters(byCount), "\xE6\xB8 \xE5q\xE0");
    for (const ChartBar& bar : chart.bars) {
        for (const ChartBar& other : byCount.bars) {
            if (other.letter == bar.letter) {
                EXPECT_EQ(other.partner, bar.partner);
            }
        }
    }
}

// Exchanging two bars' partners is the hand edit that swaps those two letters of the standard,
// and the next chart pairs each bar with the other's old partner.
TEST(FrequencyChartTest, ExchangeIsTheHandEdit) {
    const ByteCounts folded = FoldedCountsOf("eeeettta");
    for (const int direction : {kDescending, kAscending}) {
        const std::string standard = direction == kDescending ? "xyz" : "zyx";
        const FrequencyChart before = BuildFrequencyChart(
            folded, standard, direction, LetterLanguage::English, ChartOrder::ByCount);
        std::string hand = standard;
        std::swap(hand[before.bars[0].position], hand[before.bars[2].position]);
        const std::string exchanged =
            ExchangeInStandard(standard, before.bars[0].position, before.bars[2].position);
        EXPECT_EQ(exchanged, hand);
        const FrequencyChart after = BuildFrequencyChart(
            folded, exchanged, direction, LetterLanguage::English, ChartOrder::ByCount);
        EXPECT_EQ(after.bars[0].partner, before.bars[2].partner);
        EXPECT_EQ(after.bars[2].partner, before.bars[0].partner);
        EXPECT_EQ(after.bars[1].partner, before.bars[1].partner);
    }
    EXPECT_EQ(ExchangeInStandard("abc", 0, 3), "abc");
    EXPECT_EQ(StandardAsCounted("ab\r\n"), "ab");
    EXPECT_EQ(StandardAsCounted("a\r\nb\r\n\r\n"), "a\r\nb\r\n");
}

TEST(BigramTest, AdjacentLettersAcrossBuffers) {
    BigramCounts counts = EmptyBigramCounts();
    unsigned char previous = 0;
    const std::string first = "Abc a", second = "b.ab";
    CountBigrams(reinterpret_cast<const unsigned char*>(first.data()), first.size(), previous,
                 counts);
    CountBigrams(reinterpret_cast<const unsigned char*>(second.data()), second.size(), previous,
                 counts);
    // ab (Ab, then a|b across the buffers, then ab), bc.
    const std::vector<BigramBar> top = TopBigrams(counts);
    ASSERT_EQ(top.size(), 2u);
    EXPECT_EQ(top[0].first, 'a');
    EXPECT_EQ(top[0].second, 'b');
    EXPECT_EQ(top[0].count, 3u);
    EXPECT_DOUBLE_EQ(top[0].share, 0.75);
    EXPECT_EQ(top[1].first, 'b');
    EXPECT_EQ(top[1].count, 1u);

    test::TempDir dir;
    EXPECT_EQ(CountFileBigrams(dir.Write("f.txt", first + second)), counts);
    // The bar moves as the count's does: 250 bytes give three steps, then the maximum 2.
    test::RecordingProgress bar;
    CountFileBigrams(dir.Write("g.txt", std::string(250, 'a')), &bar);
    EXPECT_EQ(bar.positions, std::vector<std::uint64_t>{3});
    EXPECT_EQ(bar.max, 2u);
    EXPECT_TRUE(bar.filled);
    EXPECT_THROW(CountFileBigrams(dir.Path("missing")), io::FileError);
}

// A file's pairs are those of its letters in its own encoding, not of its bytes; a character
// that has no 8-bit code parts its neighbours.
TEST(BigramTest, PairsOfLettersInTheFilesEncoding) {
    const std::string utf8 = "Съешь же ещё этих мягких французских булок, да выпей чаю.\n";
    std::string text;
    for (int i = 0; i < 40000; ++i) text += utf8;  // more than one piece of the reader
    const std::string windows1251 = Iconv(text, "UTF-8", "CP1251");
    test::TempDir dir;
    const BigramCounts expected = CountFileBigrams(dir.Write("w.txt", windows1251));
    const struct {
        Encoding encoding;
        const char* iconvName;
    } pages[] = {
        {Encoding::Utf8, "UTF-8"}, {Encoding::Koi8r, "KOI8-R"}, {Encoding::Cp866, "CP866"}};
    for (const auto& page : pages) {
        const std::string file = dir.Write("t.txt", Iconv(text, "UTF-8", page.iconvName));
        EXPECT_EQ(CountFileBigrams(file, nullptr, page.encoding), expected) << page.iconvName;
    }
    const std::string parted = dir.Write("e.txt", "аб中вг");
    const std::vector<BigramBar> top =
        TopBigrams(CountFileBigrams(parted, nullptr, Encoding::Utf8));
    ASSERT_EQ(top.size(), 2u) << "а-б and в-г, nothing across the character";
}

// The counting in pieces of any size gives what a plain walk over folded byte pairs gives.
TEST(BigramTest, AgreesWithAPlainWalkOverEveryByte) {
    std::mt19937 random(11);
    std::string bytes(20000, '\0');
    for (char& c : bytes) c = static_cast<char>(random() % 256);
    bytes.append(300, 'A');  // a long run of one pair
    BigramCounts plain = EmptyBigramCounts();
    for (std::size_t i = 1; i < bytes.size(); ++i) {
        const unsigned char a = LowerChar(static_cast<unsigned char>(bytes[i - 1]));
        const unsigned char b = LowerChar(static_cast<unsigned char>(bytes[i]));
        if (IsFoldedLetter(a) && IsFoldedLetter(b)) ++plain[a * 256u + b];
    }
    for (const std::size_t piece :
         {std::size_t{1}, std::size_t{3}, std::size_t{4096}, bytes.size()}) {
        BigramCounts counts = EmptyBigramCounts();
        unsigned char previous = 0;
        for (std::size_t at = 0; at < bytes.size(); at += piece) {
            const std::size_t n = std::min(piece, bytes.size() - at);
            CountBigrams(reinterpret_cast<const unsigned char*>(bytes.data()) + at, n, previous,
                         counts);
        }
        EXPECT_EQ(counts, plain) << piece;
    }
}

TEST(BigramTest, KeepsTheThirtyMostFrequent) {
    BigramCounts counts = EmptyBigramCounts();
    for (int i = 0; i < 40; ++i) {
        counts[('a' + i / 26) * 256 + 'a' + i % 26] += static_cast<std::uint64_t>(i + 1);
    }
    const std::vector<BigramBar> top = TopBigrams(counts);
    ASSERT_EQ(top.size(), kShownBigrams);
    for (std::size_t i = 0; i < top.size(); ++i) EXPECT_EQ(top[i].count, 40 - i);
}

}  // namespace
}  // namespace varn
