#include "analysis/solve/alphabet.h"

#include "analysis/letter_table.h"

namespace varn::solve {

namespace {

std::string RussianLetters() {
    // а..е, ё, ж..я in Windows-1251.
    std::string letters;
    for (int c = 224; c <= 229; ++c) letters += static_cast<char>(c);
    letters += static_cast<char>(184);
    for (int c = 230; c <= 255; ++c) letters += static_cast<char>(c);
    return letters;
}

std::string EnglishLetters() {
    std::string letters;
    for (char c = 'a'; c <= 'z'; ++c) letters += c;
    return letters;
}

}  // namespace

Alphabet::Alphabet(Language language)
    : language_(language),
      letters_(language == Language::Russian ? RussianLetters() : EnglishLetters()) {
    symbolOf_.fill(static_cast<std::uint8_t>(boundary()));
    for (int s = 0; s < letters(); ++s) {
        for (int b = 0; b < 256; ++b) {
            if (LowerChar(static_cast<unsigned char>(b)) == letter(s))
                symbolOf_[b] = static_cast<std::uint8_t>(s);
        }
    }
}

Language LanguageOfStandard(const std::string& standard, Language otherwise) {
    if (standard.empty()) return otherwise;
    const Alphabet russian(Language::Russian);
    for (const char c : standard) {
        if (russian.symbolOf(static_cast<unsigned char>(c)) != russian.boundary())
            return Language::Russian;
    }
    return Language::English;
}

const std::string& FrequencyOrder(Language language) {
    // " оеаинтсрвлкмдпуяызъьбгчйхжюшцщэфё" and " etaonisrhldcupfmwybgvkqxjz" without the space.
    static const std::string russian =
        "\xEE\xE5\xE0\xE8\xED\xF2\xF1\xF0\xE2\xEB\xEA\xEC\xE4\xEF\xF3\xFF\xFB\xE7\xFA\xFC\xE1\xE3"
        "\xF7\xE9\xF5\xE6\xFE\xF8\xF6\xF9\xFD\xF4\xB8";
    static const std::string english = "etaonisrhldcupfmwybgvkqxjz";
    return language == Language::Russian ? russian : english;
}

}  // namespace varn::solve
