#pragma once

// Ciphertexts made from the held-out passages of the language models, for the solver's tests
// and its benchmark: a text of a given length from a seeded place, a random key over the whole
// alphabet, and the share of letters a solution gets right.

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "analysis/letter_table.h"
#include "analysis/solve/alphabet.h"

namespace varn::trials {

inline std::string HeldOutPath(solve::Language language) {
    return std::string(VARN_SOLVE_DATA_DIR) +
           (language == solve::Language::Russian ? "/heldout-ru.txt" : "/heldout-en.txt");
}

// The held-out passages, joined by line breaks into one text, their separators dropped.
inline std::string HeldOutText(solve::Language language) {
    std::ifstream in(HeldOutPath(language), std::ios::binary);
    if (!in) throw std::runtime_error("no held-out corpus at " + HeldOutPath(language));
    std::string text, line;
    while (std::getline(in, line)) {
        if (line == "%") continue;
        text += line;
        text += '\n';
    }
    return text;
}

enum class Measure { Letters, Bytes };

// A stretch of the held-out text from a seeded passage start: `length` letters of the language
// (or bytes), wrapping round the end of the corpus; with `lettersOnly` every other character is
// dropped.
inline std::string Excerpt(const std::string& corpus, solve::Language language,
                           std::uint64_t length, Measure measure, std::uint64_t seed,
                           bool lettersOnly = false) {
    const solve::Alphabet alphabet(language);
    std::mt19937_64 random(seed);
    std::size_t at = random() % corpus.size();
    while (at > 0 && corpus[at - 1] != '\n') --at;  // start at the beginning of a line
    std::string out;
    std::uint64_t letters = 0;
    while ((measure == Measure::Letters ? letters : out.size()) < length) {
        const auto c = static_cast<unsigned char>(corpus[at]);
        at = (at + 1) % corpus.size();
        const bool letter = alphabet.symbolOf(c) != alphabet.boundary();
        if (lettersOnly && !letter) continue;
        out += static_cast<char>(c);
        letters += letter;
    }
    return out;
}

// A random substitution of all the language's letters: key[b] for every byte.
inline std::array<unsigned char, 256> RandomKey(solve::Language language, std::uint64_t seed) {
    const solve::Alphabet alphabet(language);
    std::string shuffled = alphabet.letterBytes();
    std::mt19937_64 random(seed ^ 0x5bd1e995ULL);
    for (std::size_t i = shuffled.size() - 1; i > 0; --i)
        std::swap(shuffled[i], shuffled[random() % (i + 1)]);
    std::array<unsigned char, 256> key{};
    for (int b = 0; b < 256; ++b) key[b] = static_cast<unsigned char>(b);
    for (int s = 0; s < alphabet.letters(); ++s)
        key[alphabet.letter(s)] = static_cast<unsigned char>(shuffled[s]);
    return key;
}

// Letters folded to lower case and enciphered; everything else kept.
inline std::string Encipher(const std::string& text, const std::array<unsigned char, 256>& key) {
    std::string out = text;
    for (char& c : out) c = static_cast<char>(key[LowerChar(static_cast<unsigned char>(c))]);
    return out;
}

// The share of the plaintext's letters that `plain` (ciphertext letter to plaintext letter)
// gives back.
inline double LettersRight(const std::string& plaintext, const std::string& ciphertext,
                           const std::array<unsigned char, 256>& plain, solve::Language language) {
    const solve::Alphabet alphabet(language);
    std::uint64_t letters = 0, right = 0;
    for (std::size_t i = 0; i < plaintext.size(); ++i) {
        const unsigned char p = LowerChar(static_cast<unsigned char>(plaintext[i]));
        if (alphabet.symbolOf(p) == alphabet.boundary()) continue;
        ++letters;
        right += plain[static_cast<unsigned char>(ciphertext[i])] == p;
    }
    return letters ? static_cast<double>(right) / static_cast<double>(letters) : 1.0;
}

}  // namespace varn::trials
