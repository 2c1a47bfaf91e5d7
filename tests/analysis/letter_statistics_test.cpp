#include "analysis/letter_statistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "analysis/number_format.h"

namespace varn {
namespace {

ByteCounts CountsOf(const std::string& text) {
    ByteCounts raw{};
    for (const char c : text) ++raw[static_cast<unsigned char>(c)];
    return FoldCounts(raw);
}

// Values worked out apart from this code: by hand for the first, and by a few lines of Python
// (collections.Counter over the lower-cased letters, math.log2) for the pangram.
TEST(LetterStatisticsTest, IndexAndEntropyOfKnownTexts) {
    struct Case {
        const char* text;
        std::uint64_t letters;
        double coincidence;
        double entropy;
    };
    const Case cases[] = {
        // l 3, o 2, five letters once: (3*2 + 2*1) / (10*9); -(.3 log .3 + .2 log .2 + 5 .1 log
        // .1).
        {"hello world", 10, 8.0 / 90.0, 2.6464393446710153},
        {"The quick brown fox jumps over the lazy dog", 35, 0.021848739495798318,
         4.536286231168865},
        // Digits, blanks and punctuation are no letters; capitals fold.
        {"AAaa 1234 !!", 4, 1.0, 0.0},
        {"x", 1, 0.0, 0.0},
        {"", 0, 0.0, 0.0},
    };
    for (const Case& c : cases) {
        const ByteCounts folded = CountsOf(c.text);
        const LetterStatistics s = StatisticsOfCounts(folded, LetterLanguage::English);
        EXPECT_EQ(s.letters, c.letters) << c.text;
        EXPECT_NEAR(s.coincidence, c.coincidence, 1e-12) << c.text;
        EXPECT_NEAR(s.entropy, c.entropy, 1e-12) << c.text;
    }
}

TEST(LetterStatisticsTest, CyrillicLettersCountWithYoAndCapitals) {
    // а, А, ё, Ё (Windows-1251): two letters, each twice.
    const ByteCounts folded = CountsOf("\xE0\xC0\xB8\xA8");
    EXPECT_DOUBLE_EQ(IndexOfCoincidence(folded), 4.0 / 12.0);
    EXPECT_DOUBLE_EQ(EntropyPerLetter(folded), 1.0);
    EXPECT_EQ(LanguageOfCounts(folded), LetterLanguage::Russian);
    EXPECT_EQ(LanguageOfCounts(CountsOf("abc \xE0")), LetterLanguage::English);
}

// Sum of squared shares and entropy of the letters in a data file, read here line by line apart
// from the program's parser: the code, the count, the blank (32) left out.
std::pair<double, double> SumsOfDataFile(const std::string& name) {
    std::ifstream in(std::string(VARN_SOLVE_DATA_DIR) + "/" + name);
    std::vector<double> counts;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        int code = 0;
        double count = 0;
        fields >> code >> count;
        if (code != 32) counts.push_back(count);
    }
    double total = 0, squares = 0, entropy = 0;
    for (const double c : counts) total += c;
    for (const double c : counts) {
        squares += (c / total) * (c / total);
        if (c > 0) entropy -= c / total * std::log2(c / total);
    }
    return {squares, entropy};
}

// The shipped tables: the known indices of the languages, and the sums of the data files.
TEST(LetterStatisticsTest, LanguagesHaveTheirKnownIndex) {
    const LetterStatistics ru = StatisticsOfCounts(ByteCounts{}, LetterLanguage::Russian);
    const auto [ruSquares, ruEntropy] = SumsOfDataFile("letter-frequencies-ru.txt");
    EXPECT_NEAR(ru.languageCoincidence, ruSquares, 1e-12);
    EXPECT_NEAR(ru.languageEntropy, ruEntropy, 1e-12);
    EXPECT_NEAR(ru.languageCoincidence, 0.055, 0.002);
    EXPECT_DOUBLE_EQ(ru.uniformCoincidence, 1.0 / 33);
    const LetterStatistics en = StatisticsOfCounts(ByteCounts{}, LetterLanguage::English);
    const auto [enSquares, enEntropy] = SumsOfDataFile("letter-frequencies-en.txt");
    EXPECT_NEAR(en.languageCoincidence, enSquares, 1e-12);
    EXPECT_NEAR(en.languageEntropy, enEntropy, 1e-12);
    EXPECT_NEAR(en.languageCoincidence, 0.066, 0.003);
    EXPECT_DOUBLE_EQ(en.uniformCoincidence, 1.0 / 26);
    EXPECT_EQ(FrequenciesOf(LetterLanguage::Russian).letters.size(), 33u);
    // The word boundary is kept at the blank, apart from the letters.
    EXPECT_GT(FrequenciesOf(LetterLanguage::English).counts[' '], 0u);
    EXPECT_EQ(FrequenciesOf(LetterLanguage::English).letterShare(' '), 0.0);
}

TEST(LetterStatisticsTest, ChiSquaredByHand) {
    // Three pairs taken (the last has no share): N = 40, expected 20, 10, 10.
    const ChiSquared chi = ChiSquaredOfPairing({{10, 0.5}, {30, 0.25}, {0, 0.25}, {5, 0.0}});
    EXPECT_DOUBLE_EQ(chi.value, 100.0 / 20 + 400.0 / 10 + 100.0 / 10);
    EXPECT_EQ(chi.degreesOfFreedom, 2);
    // Shares are renormalised over the pairs taken.
    EXPECT_DOUBLE_EQ(ChiSquaredOfPairing({{10, 0.1}, {10, 0.1}}).value, 0.0);
    EXPECT_EQ(ChiSquaredOfPairing({}).value, 0.0);
    EXPECT_EQ(ChiSquaredOfPairing({{0, 0.5}, {0, 0.5}}).value, 0.0);
}

TEST(LetterStatisticsTest, SuggestionFollowsTheIndex) {
    LetterStatistics s;
    s.languageCoincidence = 0.055;
    s.uniformCoincidence = 1.0 / 33;
    s.letters = 1000;
    const struct {
        double coincidence;
        std::uint64_t letters;
        Suggestion expected;
    } cases[] = {
        {0.056, 1000, Suggestion::Substitution}, {0.050, 1000, Suggestion::Substitution},
        {0.043, 1000, Suggestion::Between},      {0.031, 1000, Suggestion::Polyalphabetic},
        {0.056, 99, Suggestion::TooFewLetters},
    };
    for (const auto& c : cases) {
        s.coincidence = c.coincidence;
        s.letters = c.letters;
        EXPECT_EQ(SuggestionOf(s), c.expected) << c.coincidence;
    }
}

TEST(LetterStatisticsTest, ReportOfAFileInEnglish) {
    SetDecimalSeparator('.');
    std::string text;
    for (int i = 0; i < 20; ++i) text += "The quick brown fox jumps over the lazy dog. ";
    ByteCounts raw{};
    for (const char c : text) ++raw[static_cast<unsigned char>(c)];
    const std::string report = LetterStatisticsReport(raw);
    EXPECT_EQ(report.substr(0, report.find('\n')), "Letters counted: 700");
    EXPECT_NE(report.find("Index of coincidence: 0.0484 (English 0.06"), std::string::npos)
        << report;
    EXPECT_NE(report.find("uniform 0.0385)\n"), std::string::npos) << report;
    EXPECT_NE(report.find("(25 degrees of freedom)"), std::string::npos) << report;
    EXPECT_NE(report.find("bits per letter (English 4."), std::string::npos) << report;
    // A pangram repeated lies between the language and uniform.
    EXPECT_NE(report.find("lies between"), std::string::npos) << report;

    SetDecimalSeparator(',');
    const std::vector<std::string> russian =
        FormatLetterStatistics(StatisticsOfCounts(FoldCounts(raw), LetterLanguage::English), true);
    SetDecimalSeparator('.');
    ASSERT_EQ(russian.size(), 5u);
    EXPECT_TRUE(russian[1].starts_with("Индекс совпадений: 0,0484 (английский язык 0,06"))
        << russian[1];
    EXPECT_TRUE(russian[1].ends_with(", равномерно 0,0385)")) << russian[1];
}

TEST(LetterStatisticsTest, LanguageOfTheStandard) {
    EXPECT_EQ(LanguageOfStandard(" etaoin", LetterLanguage::Russian), LetterLanguage::English);
    EXPECT_EQ(LanguageOfStandard(" \xEE\xE5", LetterLanguage::English), LetterLanguage::Russian);
    EXPECT_EQ(LanguageOfStandard(" .,", LetterLanguage::Russian), LetterLanguage::Russian);
}

TEST(LanguageFrequenciesTest, ParsesLinesAndRefusesOthers) {
    const LanguageFrequencies table =
        ParseLanguageFrequencies("# heading\n32 7 space\n97 3 a\n\n98 1 b\n", "ab");
    EXPECT_EQ(table.counts[' '], 7u);
    EXPECT_EQ(table.letterTotal(), 4u);
    EXPECT_DOUBLE_EQ(table.letterShare('a'), 0.75);
    EXPECT_THROW(ParseLanguageFrequencies("x 1\n", "a"), std::invalid_argument);
    EXPECT_THROW(ParseLanguageFrequencies("300 1\n", "a"), std::invalid_argument);
    EXPECT_THROW(ParseLanguageFrequencies("97\n", "a"), std::invalid_argument);
}

}  // namespace
}  // namespace varn
