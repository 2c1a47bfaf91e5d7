#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/language_frequencies.h"
#include "text/byte_count.h"

namespace varn {

// Letters of either alphabet after folding: a-z, а-я and ё.
bool IsFoldedLetter(unsigned char c);

// Russian when the standard holds a Cyrillic letter, English when it holds a Latin one and no
// Cyrillic; `fallback` when it holds neither.
LetterLanguage LanguageOfStandard(const std::string& standard, LetterLanguage fallback);
// Russian when the counts hold more Cyrillic letters than Latin ones.
LetterLanguage LanguageOfCounts(const ByteCounts& folded);

// Counts by folded byte: entry c holds the occurrences of every byte that folds to c.
ByteCounts FoldCounts(const ByteCounts& raw);

// Over the letters of `folded` (IsFoldedLetter): sum n(n-1) / (N(N-1)), 0 below two letters.
double IndexOfCoincidence(const ByteCounts& folded);
// Over the same letters: -sum p log2 p, in bits per letter.
double EntropyPerLetter(const ByteCounts& folded);

// One letter of the file paired with a letter of the language.
struct PairedCount {
    std::uint64_t observed = 0;
    double languageShare = 0;  // the paired letter's share in the language; 0 leaves it out
};
struct ChiSquared {
    double value = 0;
    int degreesOfFreedom = 0;  // pairs taken less one
};
// Pearson's statistic of the observed counts against the language's shares renormalised over the
// pairs taken (those with a share above 0).
ChiSquared ChiSquaredOfPairing(const std::vector<PairedCount>& pairs);

struct LetterStatistics {
    LetterLanguage language = LetterLanguage::Russian;
    std::uint64_t letters = 0;  // letters of the file, either alphabet
    double coincidence = 0;
    double languageCoincidence = 0;  // sum p^2 over the language's letters
    double uniformCoincidence = 0;   // 1/33 or 1/26
    ChiSquared chiSquared;
    double entropy = 0;
    double languageEntropy = 0;
};

// Everything but the chi-squared, which depends on a pairing.
LetterStatistics StatisticsOfCounts(const ByteCounts& folded, LetterLanguage language);

// What the figures suggest.
enum class Suggestion { TooFewLetters, Substitution, Between, Polyalphabetic };
inline constexpr std::uint64_t kFewestLettersToJudge = 100;
Suggestion SuggestionOf(const LetterStatistics& statistics);

// Lines of text (UTF-8) for the statistics and the sentence of what they suggest, in Russian or
// English; numbers with the locale's decimal separator.
std::vector<std::string> FormatLetterStatistics(const LetterStatistics& statistics, bool russian);

// The statistics of a file's raw byte counts in English (or Russian), one figure a line and the
// sentence last: the language taken from the counts, the file's letters paired by rank with the
// language's letters ordered by frequency.
std::string LetterStatisticsReport(const ByteCounts& raw, bool russian = false);

}  // namespace varn
