#include "analysis/letter_statistics.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "analysis/letter_table.h"
#include "analysis/number_format.h"

namespace varn {

namespace {

bool IsCyrillic(unsigned char c) {
    return c >= 192 || c == 168 || c == 184;
}
bool IsLatin(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// A figure with a fixed number of decimals and the locale's separator.
std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string out = text;
    std::replace(out.begin(), out.end(), '.', DecimalSeparator());
    return out;
}

double SumOfSquaredShares(const LanguageFrequencies& language) {
    double sum = 0;
    for (const char c : language.letters) {
        const double p = language.letterShare(static_cast<unsigned char>(c));
        sum += p * p;
    }
    return sum;
}

double EntropyOfShares(const LanguageFrequencies& language) {
    double sum = 0;
    for (const char c : language.letters) {
        const double p = language.letterShare(static_cast<unsigned char>(c));
        if (p > 0) sum -= p * std::log2(p);
    }
    return sum;
}

}  // namespace

bool IsFoldedLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || c >= 224 || c == 184;
}

LetterLanguage LanguageOfStandard(const std::string& standard, LetterLanguage fallback) {
    bool latin = false;
    for (const char c : standard) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsCyrillic(byte)) return LetterLanguage::Russian;
        latin = latin || IsLatin(byte);
    }
    return latin ? LetterLanguage::English : fallback;
}

LetterLanguage LanguageOfCounts(const ByteCounts& folded) {
    std::uint64_t cyrillic = 0, latin = 0;
    for (int c = 0; c < 256; ++c) {
        const auto byte = static_cast<unsigned char>(c);
        if (!IsFoldedLetter(byte)) continue;
        (IsCyrillic(byte) ? cyrillic : latin) += folded[c];
    }
    return cyrillic > latin ? LetterLanguage::Russian : LetterLanguage::English;
}

ByteCounts FoldCounts(const ByteCounts& raw) {
    ByteCounts folded{};
    for (int c = 0; c < 256; ++c) folded[LowerChar(static_cast<unsigned char>(c))] += raw[c];
    return folded;
}

double IndexOfCoincidence(const ByteCounts& folded) {
    double pairs = 0, letters = 0;
    for (int c = 0; c < 256; ++c) {
        if (!IsFoldedLetter(static_cast<unsigned char>(c))) continue;
        const auto n = static_cast<double>(folded[c]);
        pairs += n * (n - 1);
        letters += n;
    }
    return letters < 2 ? 0 : pairs / (letters * (letters - 1));
}

double EntropyPerLetter(const ByteCounts& folded) {
    double letters = 0;
    for (int c = 0; c < 256; ++c) {
        if (IsFoldedLetter(static_cast<unsigned char>(c)))
            letters += static_cast<double>(folded[c]);
    }
    if (letters == 0) return 0;
    double entropy = 0;
    for (int c = 0; c < 256; ++c) {
        if (!IsFoldedLetter(static_cast<unsigned char>(c)) || folded[c] == 0) continue;
        const double p = static_cast<double>(folded[c]) / letters;
        entropy -= p * std::log2(p);
    }
    return entropy;
}

ChiSquared ChiSquaredOfPairing(const std::vector<PairedCount>& pairs) {
    double observed = 0, shares = 0;
    int taken = 0;
    for (const PairedCount& pair : pairs) {
        if (pair.languageShare <= 0) continue;
        observed += static_cast<double>(pair.observed);
        shares += pair.languageShare;
        ++taken;
    }
    ChiSquared result;
    result.degreesOfFreedom = std::max(0, taken - 1);
    if (observed == 0) return result;
    for (const PairedCount& pair : pairs) {
        if (pair.languageShare <= 0) continue;
        const double expected = observed * pair.languageShare / shares;
        const double difference = static_cast<double>(pair.observed) - expected;
        result.value += difference * difference / expected;
    }
    return result;
}

LetterStatistics StatisticsOfCounts(const ByteCounts& folded, LetterLanguage language) {
    const LanguageFrequencies& table = FrequenciesOf(language);
    LetterStatistics statistics;
    statistics.language = language;
    for (int c = 0; c < 256; ++c) {
        if (IsFoldedLetter(static_cast<unsigned char>(c))) statistics.letters += folded[c];
    }
    statistics.coincidence = IndexOfCoincidence(folded);
    statistics.languageCoincidence = SumOfSquaredShares(table);
    statistics.uniformCoincidence = 1.0 / static_cast<double>(table.letters.size());
    statistics.entropy = EntropyPerLetter(folded);
    statistics.languageEntropy = EntropyOfShares(table);
    return statistics;
}

Suggestion SuggestionOf(const LetterStatistics& statistics) {
    if (statistics.letters < kFewestLettersToJudge) return Suggestion::TooFewLetters;
    const double span = statistics.languageCoincidence - statistics.uniformCoincidence;
    const double place = (statistics.coincidence - statistics.uniformCoincidence) / span;
    if (place >= 0.75) return Suggestion::Substitution;
    if (place <= 0.35) return Suggestion::Polyalphabetic;
    return Suggestion::Between;
}

std::vector<std::string> FormatLetterStatistics(const LetterStatistics& s, bool russian) {
    const bool russianLanguage = s.language == LetterLanguage::Russian;
    const std::string languageName = russian
                                         ? (russianLanguage ? "русский язык" : "английский язык")
                                         : (russianLanguage ? "Russian" : "English");
    std::vector<std::string> lines;
    if (russian) {
        lines.push_back("Букв подсчитано: " + FormatNumber(s.letters));
        lines.push_back("Индекс совпадений: " + Fixed(s.coincidence, 4) + " (" + languageName +
                        " " + Fixed(s.languageCoincidence, 4) + ", равномерно " +
                        Fixed(s.uniformCoincidence, 4) + ")");
        lines.push_back("Хи-квадрат пар против языка: " + Fixed(s.chiSquared.value, 1) +
                        " (степеней свободы: " +
                        FormatNumber(std::uint64_t(s.chiSquared.degreesOfFreedom)) + ")");
        lines.push_back("Энтропия: " + Fixed(s.entropy, 3) + " бит на букву (" + languageName +
                        " " + Fixed(s.languageEntropy, 3) + ")");
    } else {
        lines.push_back("Letters counted: " + FormatNumber(s.letters));
        lines.push_back("Index of coincidence: " + Fixed(s.coincidence, 4) + " (" + languageName +
                        " " + Fixed(s.languageCoincidence, 4) + ", uniform " +
                        Fixed(s.uniformCoincidence, 4) + ")");
        lines.push_back(
            "Chi-squared of the pairing against the language: " + Fixed(s.chiSquared.value, 1) +
            " (" + FormatNumber(std::uint64_t(s.chiSquared.degreesOfFreedom)) +
            " degrees of freedom)");
        lines.push_back("Entropy: " + Fixed(s.entropy, 3) + " bits per letter (" + languageName +
                        " " + Fixed(s.languageEntropy, 3) + ")");
    }
    switch (SuggestionOf(s)) {
        case Suggestion::TooFewLetters:
            lines.push_back(russian ? "Слишком мало букв для выводов: нужно хотя бы 100."
                                    : "Too few letters to judge: at least 100 are needed.");
            break;
        case Suggestion::Substitution:
            lines.push_back(
                russian ? "Индекс близок к языковому: простая замена его сохраняет, и обмен букв "
                          "может сделать текст читаемым."
                        : "The index is near the language's: a simple substitution keeps it, so "
                          "exchanging letters can make the text readable.");
            break;
        case Suggestion::Between:
            lines.push_back(russian ? "Индекс между языковым и равномерным: короткий текст, смесь "
                                      "языков или шифр с немногими алфавитами."
                                    : "The index lies between the language's and uniform: a short "
                                      "text, mixed languages or a cipher of a few alphabets.");
            break;
        case Suggestion::Polyalphabetic:
            lines.push_back(russian ? "Индекс близок к равномерному: многоалфавитный шифр или "
                                      "случайные данные; обмен букв не поможет."
                                    : "The index is near uniform: a polyalphabetic cipher or "
                                      "random data; exchanging letters will not help.");
            break;
    }
    return lines;
}

std::string LetterStatisticsReport(const ByteCounts& raw, bool russian) {
    const ByteCounts folded = FoldCounts(raw);
    const LetterLanguage language = LanguageOfCounts(folded);
    const LanguageFrequencies& table = FrequenciesOf(language);
    LetterStatistics statistics = StatisticsOfCounts(folded, language);

    // Rank against rank: the file's letters of the alphabet and the language's, most frequent
    // first, ties in alphabetical order.
    std::vector<std::uint64_t> observed;
    std::vector<double> shares;
    for (const char c : table.letters) {
        observed.push_back(folded[static_cast<unsigned char>(c)]);
        shares.push_back(table.letterShare(static_cast<unsigned char>(c)));
    }
    std::stable_sort(observed.begin(), observed.end(), std::greater<>());
    std::stable_sort(shares.begin(), shares.end(), std::greater<>());
    std::vector<PairedCount> pairs;
    for (std::size_t i = 0; i < observed.size(); ++i) pairs.push_back({observed[i], shares[i]});
    statistics.chiSquared = ChiSquaredOfPairing(pairs);

    std::string report;
    for (const std::string& line : FormatLetterStatistics(statistics, russian))
        report += line + "\n";
    return report;
}

}  // namespace varn
