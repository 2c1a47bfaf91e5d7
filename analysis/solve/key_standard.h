#pragma once

#include <array>
#include <string>

#include "analysis/letter_table.h"
#include "analysis/solve/alphabet.h"

namespace varn::solve {

// The standard that makes the pairing of the letter count a given key. The pairing gives the
// k-th entry, in the sorted table, whose character is in the standard the standard's k-th
// character (in either direction); so the standard's k-th character is the plaintext of that
// entry. It holds every letter of the language, and the space (paired with itself) when
// `withSpace` is set; its order depends only on the counts and the direction.
// `table` holds the counts of the file (LowerChar folded, as the count makes them); `plain[c]` is
// the plaintext letter of the lower-case letter c.
std::string StandardForKey(const LetterTable& table, const std::array<unsigned char, 256>& plain,
                           Language language, int direction, bool withSpace);

}  // namespace varn::solve
