#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace varn {

// The two languages whose letter frequencies the program ships.
enum class LetterLanguage { Russian, English };

// How often each letter and the word boundary occur in a language's training texts, by
// Windows-1251 code; the boundary is counted at the blank (32), a member of the built-in
// standards.
struct LanguageFrequencies {
    std::array<std::uint64_t, 256> counts{};
    std::string letters;  // the alphabet in alphabetical order, Windows-1251

    // Sum of the letters' counts, the boundary left out.
    std::uint64_t letterTotal() const;
    // The letter's share among the letters (0 for anything else).
    double letterShare(unsigned char c) const;
};

// Reads lines "code count [letter]"; lines starting with '#' and blank lines are skipped.
// Throws std::invalid_argument on a line that is not of that form or a code above 255.
LanguageFrequencies ParseLanguageFrequencies(std::string_view text, std::string_view letters);

// The shipped tables, built into the program.
const LanguageFrequencies& FrequenciesOf(LetterLanguage language);

}  // namespace varn
