#pragma once

// The forms ciphertexts are written in, made from the held-out passages, for the encoding
// detection's test and benchmark: ordinary prose, plain or under a key that keeps case; capitals
// only; small letters only; the letters alone with their case; capitals in groups of five.

#include <array>
#include <cstdint>
#include <string>

#include "analysis/letter_table.h"
#include "solve_trials.h"

namespace varn::trials {

enum class Form {
    Prose,
    EncipheredProse,
    PlainCapitals,
    Capitals,
    SmallLetters,
    LettersOnly,
    CapitalGroups,
};

struct FormName {
    Form form;
    const char* name;
};

inline constexpr FormName kForms[] = {
    {Form::Prose, "prose, plain"},
    {Form::EncipheredProse, "prose, enciphered"},
    {Form::PlainCapitals, "capitals, plain"},
    {Form::Capitals, "capitals with spaces"},
    {Form::SmallLetters, "small letters with spaces"},
    {Form::LettersOnly, "letters only, case kept"},
    {Form::CapitalGroups, "capitals in groups of five"},
};

// The forms written in one case only.
constexpr bool SingleCase(Form form) {
    return form == Form::PlainCapitals || form == Form::Capitals || form == Form::SmallLetters ||
           form == Form::CapitalGroups;
}

// Letters through `key` (defined on small letters), each keeping its case.
inline std::string EncipherKeepingCase(const std::string& text,
                                       const std::array<unsigned char, 256>& key) {
    std::string out = text;
    for (char& ch : out) {
        const auto c = static_cast<unsigned char>(ch);
        const unsigned char small = LowerChar(c);
        const unsigned char to = key[small];
        ch = static_cast<char>(small != c ? UpperChar(to) : to);
    }
    return out;
}

// Ten groups of five a line.
inline std::string InGroupsOfFive(const std::string& letters) {
    std::string out;
    for (std::size_t i = 0; i < letters.size(); ++i) {
        if (i > 0 && i % 5 == 0) out += i % 50 == 0 ? '\n' : ' ';
        out += letters[i];
    }
    return out;
}

// `letters` letters of the language from a seeded place of `corpus`, in `form`, as Windows-1251
// codes; the key is random over every letter of the language.
inline std::string InForm(const std::string& corpus, solve::Language language, Form form,
                          std::uint64_t letters, std::uint64_t seed) {
    const bool lettersOnly = form == Form::LettersOnly || form == Form::CapitalGroups;
    std::string text = Excerpt(corpus, language, letters, Measure::Letters, seed, lettersOnly);
    if (form != Form::Prose && form != Form::PlainCapitals)
        text = EncipherKeepingCase(text, RandomKey(language, seed));
    for (char& ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (form == Form::PlainCapitals || form == Form::Capitals || form == Form::CapitalGroups)
            ch = static_cast<char>(UpperChar(c));
        if (form == Form::SmallLetters) ch = static_cast<char>(LowerChar(c));
    }
    return form == Form::CapitalGroups ? InGroupsOfFive(text) : text;
}

}  // namespace varn::trials
