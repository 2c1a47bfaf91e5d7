#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "analysis/letter_count.h"
#include "analysis/solve/key_standard.h"
#include "analysis/solve/solver.h"
#include "solve_trials.h"
#include "test_files.h"

namespace varn::solve {
namespace {

Solution Solve(const std::string& text, Language language) {
    return SolveText(reinterpret_cast<const unsigned char*>(text.data()), text.size(), language);
}

struct AccuracyCase {
    Language language;
    std::uint64_t letters;
    bool lettersOnly;  // every character but the letters dropped
    int excerpts;      // seeds seed .. seed + excerpts - 1
    std::uint64_t seed;
    double floor;  // the median share of letters right at least
};

class SolveAccuracy : public ::testing::TestWithParam<AccuracyCase> {};

// Held-out texts the models never saw, under random keys of the whole alphabet.
TEST_P(SolveAccuracy, GetsHeldOutTextsRight) {
    const AccuracyCase c = GetParam();
    const std::string corpus = trials::HeldOutText(c.language);
    std::vector<double> right;
    for (std::uint64_t seed = c.seed; seed < c.seed + c.excerpts; ++seed) {
        const std::string plain = trials::Excerpt(corpus, c.language, c.letters,
                                                  trials::Measure::Letters, seed, c.lettersOnly);
        const std::string cipher = trials::Encipher(plain, trials::RandomKey(c.language, seed));
        const Solution solution = Solve(cipher, c.language);
        ASSERT_EQ(solution.status, SolveStatus::Solved) << seed;
        EXPECT_EQ(solution.letters, c.letters);
        EXPECT_EQ(solution.spacing, c.lettersOnly ? Spacing::LettersOnly : Spacing::Words);
        right.push_back(trials::LettersRight(plain, cipher, solution.plain, c.language));
        // From a few hundred letters on, a right answer is also a trusted one.
        if (c.letters >= 300) {
            EXPECT_TRUE(solution.reliable) << seed << " " << solution.confidence;
        }
    }
    std::sort(right.begin(), right.end());
    EXPECT_GE(right[right.size() / 2], c.floor);
}

INSTANTIATE_TEST_SUITE_P(
    HeldOut, SolveAccuracy,
    ::testing::Values(AccuracyCase{Language::Russian, 50, false, 5, 100, 0.9},
                      AccuracyCase{Language::English, 50, false, 5, 110, 0.9},
                      AccuracyCase{Language::Russian, 75, false, 3, 120, 0.95},
                      AccuracyCase{Language::English, 75, false, 3, 130, 0.95},
                      AccuracyCase{Language::Russian, 100, false, 3, 140, 0.98},
                      AccuracyCase{Language::English, 100, false, 3, 150, 0.98},
                      AccuracyCase{Language::Russian, 200, false, 1, 1, 0.99},
                      AccuracyCase{Language::Russian, 300, false, 1, 2, 1.0},
                      AccuracyCase{Language::Russian, 1000, false, 1, 3, 1.0},
                      AccuracyCase{Language::English, 200, false, 1, 4, 0.99},
                      AccuracyCase{Language::English, 500, false, 1, 5, 1.0},
                      // Letters run on without word boundaries.
                      AccuracyCase{Language::Russian, 150, true, 3, 160, 0.99},
                      AccuracyCase{Language::English, 150, true, 3, 170, 0.99},
                      AccuracyCase{Language::Russian, 300, true, 1, 180, 0.99},
                      AccuracyCase{Language::English, 300, true, 1, 190, 0.99},
                      // More letters than the sample: searched on pieces, then climbed whole.
                      AccuracyCase{Language::Russian, 12000, false, 1, 6, 1.0},
                      AccuracyCase{Language::English, 12000, false, 1, 7, 1.0}),
    [](const ::testing::TestParamInfo<AccuracyCase>& info) {
        return std::string(info.param.language == Language::Russian ? "ru" : "en") + "_" +
               std::to_string(info.param.letters) + "_letters" +
               (info.param.lettersOnly ? "_only" : "") + "_seed_" + std::to_string(info.param.seed);
    });

// Ciphertexts are often written in groups of five letters, lines of ten groups: the breaks are
// no word boundaries, and the text is solved as letters only. Past the sample's size the first
// letters decide.
TEST(Solve, SolvesTextsWrittenInGroups) {
    const struct {
        Language language;
        std::uint64_t letters;
        std::uint64_t seed;
    } cases[] = {
        {Language::Russian, 200, 50}, {Language::English, 200, 51}, {Language::English, 6000, 52}};
    for (const auto& c : cases) {
        const std::string bare = trials::Excerpt(trials::HeldOutText(c.language), c.language,
                                                 c.letters, trials::Measure::Letters, c.seed,
                                                 /*lettersOnly=*/true);
        std::string plain;
        for (std::size_t i = 0; i < bare.size(); ++i) {
            if (i > 0 && i % 5 == 0) plain += i % 50 == 0 ? '\n' : ' ';
            plain += bare[i];
        }
        const std::string cipher = trials::Encipher(plain, trials::RandomKey(c.language, c.seed));
        const Solution solution = Solve(cipher, c.language);
        ASSERT_EQ(solution.status, SolveStatus::Solved);
        EXPECT_EQ(solution.spacing, Spacing::LettersOnly);
        EXPECT_GE(trials::LettersRight(plain, cipher, solution.plain, c.language), 0.99)
            << c.letters;
        EXPECT_TRUE(solution.reliable);
    }
}

// Over many short excerpts, some solved wrong, the confidence tells the right answers from the
// wrong ones: hardly any wrong answer passes as reliable, and most right ones do.
TEST(Solve, ConfidenceTellsRightAnswersFromWrongOnes) {
    int rightTrusted = 0, rightDoubted = 0, wrongTrusted = 0, wrongDoubted = 0;
    for (const Language language : {Language::Russian, Language::English}) {
        const std::string corpus = trials::HeldOutText(language);
        for (std::uint64_t seed = 200; seed < 212; ++seed) {
            const std::uint64_t letters = seed % 2 ? 40 : 120;
            const std::string plain =
                trials::Excerpt(corpus, language, letters, trials::Measure::Letters, seed);
            const std::string cipher = trials::Encipher(plain, trials::RandomKey(language, seed));
            const Solution solution = Solve(cipher, language);
            ASSERT_EQ(solution.status, SolveStatus::Solved);
            EXPECT_GT(solution.randomBitsPerLetter, solution.bitsPerLetter);
            EXPECT_GT(solution.languageBitsPerLetter, 2.0);
            EXPECT_LT(solution.languageBitsPerLetter, 3.5);
            const bool right = trials::LettersRight(plain, cipher, solution.plain, language) >= 0.9;
            (right ? (solution.reliable ? rightTrusted : rightDoubted)
                   : (solution.reliable ? wrongTrusted : wrongDoubted))++;
        }
    }
    SCOPED_TRACE(testing::Message() << "right: " << rightTrusted << " trusted, " << rightDoubted
                                    << " doubted; wrong: " << wrongTrusted << " trusted, "
                                    << wrongDoubted << " doubted");
    EXPECT_GE(wrongDoubted, 3) << "too few wrong answers to show anything";
    EXPECT_LE(wrongTrusted, 1);
    EXPECT_GE(rightTrusted, 10);
    EXPECT_LE(rightDoubted, 12);  // the 40-letter ones may all be doubted
}

// Too few letters, or none of the language, leave nothing to solve.
TEST(Solve, RefusesTextsWithoutEnoughLetters) {
    const struct {
        std::string text;
        Language language;
        SolveStatus status;
        std::uint64_t letters;
    } cases[] = {
        {"", Language::English, SolveStatus::NoLetters, 0},
        {"123 456, 789!\r\n", Language::English, SolveStatus::NoLetters, 0},
        {"\xEF\xF0\xE8\xE2\xE5\xF2 \xEC\xE8\xF0", Language::English, SolveStatus::NoLetters, 0},
        {"hello world, 12 3", Language::Russian, SolveStatus::NoLetters, 0},
        {"The quick brown fox jumps.", Language::English, SolveStatus::TooShort, 21},
        {std::string(29, 'Q'), Language::English, SolveStatus::TooShort, 29},
        {std::string(30, 'q'), Language::English, SolveStatus::Solved, 30},
    };
    for (const auto& c : cases) {
        const Solution solution = Solve(c.text, c.language);
        EXPECT_EQ(solution.status, c.status) << c.text;
        EXPECT_EQ(solution.letters, c.letters) << c.text;
    }
}

// Random bytes and a program's code are no substitution of the language: refused, with the
// cost that shows why, though the key found is still a permutation of the letters.
TEST(Solve, RefusesNoiseAndBinaryFiles) {
    std::mt19937_64 random(9);
    std::string noise(2000, '\0');
    for (char& b : noise) b = static_cast<char>(random());
    std::ifstream program("/proc/self/exe", std::ios::binary);
    std::string binary(8 << 10, '\0');
    program.read(binary.data(), static_cast<std::streamsize>(binary.size()));
    binary.resize(static_cast<std::size_t>(program.gcount()));
    for (const std::string* bytes : {&noise, &binary}) {
        for (const Language language : {Language::Russian, Language::English}) {
            const Solution solution = Solve(*bytes, language);
            ASSERT_EQ(solution.status, SolveStatus::NotLanguage);
            EXPECT_FALSE(solution.reliable);
            EXPECT_GT(solution.bitsPerLetter, solution.languageBitsPerLetter + 3);
            const Alphabet alphabet(language);
            std::string images;
            for (int b = 0; b < 256; ++b) {
                const auto c = static_cast<unsigned char>(b);
                if (LowerChar(c) != c) continue;
                if (alphabet.symbolOf(c) != alphabet.boundary()) {
                    images += static_cast<char>(solution.plain[c]);
                } else {
                    EXPECT_EQ(solution.plain[c], c);
                }
            }
            std::string letters = alphabet.letterBytes();
            std::sort(images.begin(), images.end());
            std::sort(letters.begin(), letters.end());
            EXPECT_EQ(images, letters);
        }
    }
}

TEST(Solve, ReadsAFileLikeTheSameBytesInMemory) {
    const std::string plain = trials::Excerpt(trials::HeldOutText(Language::English),
                                              Language::English, 9000, trials::Measure::Letters, 3);
    const std::string cipher = trials::Encipher(plain, trials::RandomKey(Language::English, 3));
    test::TempDir dir;
    test::RecordingProgress progress;
    const Solution fromFile =
        SolveFile(dir.Write("cipher.txt", cipher), Language::English, &progress);
    const Solution inMemory = Solve(cipher, Language::English);
    EXPECT_EQ(fromFile.plain, inMemory.plain);
    EXPECT_EQ(fromFile.counts, inMemory.counts);
    EXPECT_EQ(progress.max, cipher.size() / 100);
    EXPECT_TRUE(progress.filled);
    EXPECT_THROW(SolveFile(dir.Path("missing"), Language::English), std::runtime_error);
    EXPECT_THROW(SolveFile(dir.Path(""), Language::English), std::runtime_error);
}

// The pairing of the count turns the standard back into the key: in both sort directions, with
// and without the space, and with letters that never occur (they tie at count 0).
TEST(StandardForKey, PairingGivesBackTheKey) {
    for (const Language language : {Language::Russian, Language::English}) {
        const Alphabet alphabet(language);
        const std::string corpus = trials::HeldOutText(language);
        for (std::uint64_t seed = 1; seed <= 4; ++seed) {
            const std::string text = trials::Excerpt(corpus, language, 40 + 400 * (seed % 2),
                                                     trials::Measure::Letters, seed);
            const auto key = trials::RandomKey(language, seed);
            ByteCounts raw{};
            CountBytes(reinterpret_cast<const unsigned char*>(text.data()), text.size(), raw);
            LetterTable counted;
            FoldIntoTable(raw, counted);
            for (const int direction : {kDescending, kAscending}) {
                for (const bool withSpace : {false, true}) {
                    const std::string standard =
                        StandardForKey(counted, key, language, direction, withSpace);
                    ASSERT_EQ(standard.size(), alphabet.letterBytes().size() + withSpace);
                    LetterTable paired = counted;
                    PairWithEtalon(paired, standard, direction);
                    for (const LetterEntry& entry : paired) {
                        const bool letter =
                            alphabet.symbolOf(entry.character) != alphabet.boundary() &&
                            LowerChar(entry.character) == entry.character;
                        const unsigned char expected =
                            letter ? key[entry.character] : entry.character;
                        EXPECT_EQ(entry.paired, expected)
                            << "byte " << int(entry.character) << " direction " << direction
                            << " space " << withSpace;
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace varn::solve
