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
};

enum class SolveStatus { Solved, NoLetters, TooShort };

struct Solution {
    SolveStatus status = SolveStatus::NoLetters;
    std::uint64_t letters = 0;  // letters of the language in the text
    ByteCounts counts{};        // raw byte counts of the whole text, as the letter count has them
    // plain[c]: the plaintext letter of the lower-case ciphertext letter c; every other byte
    // maps to itself.
    std::array<unsigned char, 256> plain{};
};

// Solves a simple substitution of the language's letters in the text `data`.
Solution SolveText(const unsigned char* data, std::size_t size, Language language,
                   const SolveOptions& options = {});

// The same for a file in `encoding`, read in large pieces as 8-bit codes (a character without
// one reads as a byte 1, no letter); `progress` gets a maximum of size / 100 and one step per 100
// bytes read. Throws io::FileError (Open or NotRegular) when the file cannot be
// opened as a regular file, and io::FileError (Read) on a read failure.
Solution SolveFile(const std::string& path, Language language, Progress* progress = nullptr,
                   const SolveOptions& options = {}, Encoding encoding = Encoding::Windows1251);

}  // namespace varn::solve
