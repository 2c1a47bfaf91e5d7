#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "analysis/solve/alphabet.h"
#include "analysis/solve/hill_climb.h"
#include "text/byte_count.h"
#include "text/encoding.h"
#include "text/progress.h"

namespace varn::solve {

// Fewer letters than this are too few to tell one key from another.
inline constexpr std::uint64_t kMinimumLetters = 30;

struct SolveOptions {
    SearchOptions search;
    // A text with more letters than this is searched on a sample of about this many letters,
    // taken in pieces spread over it, and the best key is then climbed once over the whole.
    std::uint64_t sampleLetters = 4000;
    int samplePieces = 8;
    // A longer text is sure sooner: the search's patience holds up to this many letters searched
    // and then shrinks in proportion, down to `leastPatience`.
    std::uint64_t fullPatienceUpTo = 150;
    int leastPatience = 10;
    // Texts up to this many letters are searched by annealing, longer ones by restarts of the
    // climb, which settle as surely there and sooner.
    std::uint64_t annealUpTo = 300;
};

// A text with more letters than this many per word boundary is taken as written without word
// boundaries and solved under the model of letters only; so is a text whose words nearly all
// have one length (a ciphertext written in groups, "QWERT ZUIOP ...").
inline constexpr std::uint64_t kLettersPerBoundaryWithoutWords = 15;

// NotLanguage: the best key found leaves the text scoring like noise, not like the language (a
// binary file, random bytes, a text of another language or no substitution at all).
enum class SolveStatus { Solved, NoLetters, TooShort, NotLanguage };

struct Solution {
    SolveStatus status = SolveStatus::NoLetters;
    std::uint64_t letters = 0;  // letters of the language in the text
    ByteCounts counts{};        // raw byte counts of the whole text, as the letter count has them
    // plain[c]: the plaintext letter of the lower-case ciphertext letter c; every other byte
    // maps to itself.
    std::array<unsigned char, 256> plain{};

    // How far to trust the answer. The model's cost of the text under the found key, in bits per
    // letter, beside what the language's own text costs and what the text costs under a random
    // key; with few letters even a wrong key can score like the language.
    Spacing spacing = Spacing::Words;  // the model the text was solved under
    double bitsPerLetter = 0;
    double languageBitsPerLetter = 0;
    double randomBitsPerLetter = 0;
    // 0 (the answer may well be wrong) .. 1 (all but sure); `reliable` from 0.5 on. A text whose
    // answer still scores like noise gets the status NotLanguage instead; its key is kept.
    double confidence = 0;
    bool reliable = false;
};

// Solves a simple substitution of the language's letters in the text `data`.
Solution SolveText(const unsigned char* data, std::size_t size, Language language,
                   const SolveOptions& options = {});

// The model's cost of the text as it stands (no key), in bits per letter, under the model the
// solver would choose for it: how a plaintext compares with an answer.
double BitsPerLetterAsItStands(const unsigned char* data, std::size_t size, Language language);

// The same for a file in `encoding`, read in large pieces as 8-bit codes (a character without
// one reads as a byte 1, no letter); `progress` gets a maximum of size / 100 and one step per 100
// bytes read. Throws io::FileError (Open or NotRegular) when the file cannot be
// opened as a regular file, and io::FileError (Read) on a read failure.
Solution SolveFile(const std::string& path, Language language, Progress* progress = nullptr,
                   const SolveOptions& options = {}, Encoding encoding = Encoding::Windows1251);

}  // namespace varn::solve
