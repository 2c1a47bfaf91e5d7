#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "analysis/byte_count.h"
#include "analysis/progress.h"
#include "analysis/solve/alphabet.h"
#include "analysis/solve/hill_climb.h"

namespace varn::solve {

// Fewer letters than this are too few to tell one key from another.
inline constexpr std::uint64_t kMinimumLetters = 30;

struct SolveOptions {
    SearchOptions search;
    // A text with more letters than this is searched on a sample of about this many letters,
    // taken in pieces spread over it, and the best key is then climbed once over the whole.
    std::uint64_t sampleLetters = 4000;
    int samplePieces = 8;
};

// A text with more letters than this many per word boundary is taken as written without word
// boundaries and solved under the model of letters only.
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
    // 0 (no better than a random key) .. 1 (the answer is all but sure); `reliable` from 0.5 on.
    double confidence = 0;
    bool reliable = false;
    double fitForDebug = 0, evidenceForDebug = 0;
};

// Solves a simple substitution of the language's letters in the text `data`.
Solution SolveText(const unsigned char* data, std::size_t size, Language language,
                   const SolveOptions& options = {});

// The same for a file, read in large pieces; `progress` gets a maximum of size / 100 and one
// step per 100 bytes read. Throws io::FileError (Open or NotRegular) when the file cannot be
// opened as a regular file, and io::FileError (Read) on a read failure.
Solution SolveFile(const std::string& path, Language language, Progress* progress = nullptr,
                   const SolveOptions& options = {});

}  // namespace varn::solve
