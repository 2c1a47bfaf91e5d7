#include "analysis/language_frequencies.h"

#include <charconv>
#include <stdexcept>

namespace varn {

// The data files' text, built in from analysis/solve/data by the build.
extern const std::string_view kRussianFrequencyText;
extern const std::string_view kEnglishFrequencyText;

namespace {

// а-е, ё, ж-я in Windows-1251.
std::string RussianAlphabet() {
    std::string letters;
    for (int c = 224; c <= 229; ++c) letters += static_cast<char>(c);
    letters += static_cast<char>(184);
    for (int c = 230; c <= 255; ++c) letters += static_cast<char>(c);
    return letters;
}

std::uint64_t ParseNumber(std::string_view& line) {
    while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), value);
    if (error != std::errc() || end == line.data()) {
        throw std::invalid_argument("letter frequencies: a number is expected");
    }
    line.remove_prefix(static_cast<std::size_t>(end - line.data()));
    return value;
}

}  // namespace

std::uint64_t LanguageFrequencies::letterTotal() const {
    std::uint64_t total = 0;
    for (const char c : letters) total += counts[static_cast<unsigned char>(c)];
    return total;
}

double LanguageFrequencies::letterShare(unsigned char c) const {
    if (letters.find(static_cast<char>(c)) == std::string::npos) return 0;
    const std::uint64_t total = letterTotal();
    return total == 0 ? 0 : static_cast<double>(counts[c]) / static_cast<double>(total);
}

LanguageFrequencies ParseLanguageFrequencies(std::string_view text, std::string_view letters) {
    LanguageFrequencies table;
    table.letters = std::string(letters);
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == '#') continue;
        const std::uint64_t code = ParseNumber(line);
        if (code > 255) throw std::invalid_argument("letter frequencies: a code above 255");
        table.counts[code] = ParseNumber(line);
    }
    return table;
}

const LanguageFrequencies& FrequenciesOf(LetterLanguage language) {
    static const LanguageFrequencies russian =
        ParseLanguageFrequencies(kRussianFrequencyText, RussianAlphabet());
    static const LanguageFrequencies english =
        ParseLanguageFrequencies(kEnglishFrequencyText, "abcdefghijklmnopqrstuvwxyz");
    return language == LetterLanguage::Russian ? russian : english;
}

}  // namespace varn
