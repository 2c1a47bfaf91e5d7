#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace varn::solve {

enum class Language { Russian, English };

// The letters a language's model knows, as lower-case Windows-1251 bytes in the model's order,
// followed by one symbol for a word boundary (any run of other characters).
class Alphabet {
  public:
    explicit Alphabet(Language language);

    Language language() const { return language_; }
    int letters() const { return static_cast<int>(letters_.size()); }
    int boundary() const { return letters(); }  // the symbol after the letters
    int symbols() const { return letters() + 1; }
    unsigned char letter(int symbol) const { return static_cast<unsigned char>(letters_[symbol]); }
    const std::string& letterBytes() const { return letters_; }
    // The symbol of a raw byte after case folding: a letter's index, or the boundary.
    int symbolOf(unsigned char byte) const { return symbolOf_[byte]; }

  private:
    Language language_;
    std::string letters_;
    std::array<std::uint8_t, 256> symbolOf_{};
};

// The language a standard is written for: Russian when it holds a Cyrillic letter, English
// when it holds anything else, `otherwise` when it is empty.
Language LanguageOfStandard(const std::string& standard, Language otherwise);

// The language's letters from the most to the least frequent, as the built-in descending
// standard has them (without its space): the start of every search.
const std::string& FrequencyOrder(Language language);

}  // namespace varn::solve
