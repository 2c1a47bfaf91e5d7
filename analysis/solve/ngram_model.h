#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "analysis/solve/alphabet.h"

namespace varn::solve {

// A 4-gram model of one language: for every 4 symbols (letters and the word boundary), the cost
// of the 4th after the first three, as a quantised negative log-probability (0 best, 255 worst).
//
// Stored form, as the table generator writes it: the 8 bytes "VARN4GM1", the number of symbols
// N, the quanta per bit of surprisal, the N - 1 letters in symbol order, then N^4 cost bytes,
// indexed ((s1 * N + s2) * N + s3) * N + s4.
class NgramModel {
  public:
    // Checks the stored form against the alphabet; throws std::runtime_error when it does not fit.
    NgramModel(const Alphabet& alphabet, const unsigned char* data, std::size_t size);

    const Alphabet& alphabet() const { return alphabet_; }
    int symbols() const { return n_; }
    int quantaPerBit() const { return quantaPerBit_; }
    const std::uint8_t* costs() const { return costs_; }
    std::uint8_t cost(int s1, int s2, int s3, int s4) const {
        return costs_[((s1 * n_ + s2) * n_ + s3) * n_ + s4];
    }

  private:
    Alphabet alphabet_;
    int n_;
    int quantaPerBit_;
    const std::uint8_t* costs_;
};

// How a text separates its words: by boundaries (spaces, punctuation, line ends), or not at all
// (its letters run on, as in a puzzle written in groups or without spaces).
enum class Spacing { Words, LettersOnly };

// The models built into the program: trained on text with its word boundaries, or on the same
// text with everything but the letters dropped.
const NgramModel& BuiltInModel(Language language, Spacing spacing = Spacing::Words);

// What the language's own text costs under the built-in model, in bits per letter (held-out
// passages, each scored alone as the solver scores a text).
double ReferenceBitsPerLetter(Language language, Spacing spacing);

}  // namespace varn::solve
