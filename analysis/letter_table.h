#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace varn {

// One entry per byte value; sorting moves whole entries, so every byte keeps exactly one entry.
struct LetterEntry {
    unsigned char character;
    std::uint64_t count;
    unsigned char paired;  // the standard's letter given by the pairing; itself when unpaired
};

using LetterTable = std::array<LetterEntry, 256>;

// Sort directions of the standard.
inline constexpr int kDescending = 0;
inline constexpr int kAscending = 1;

// Latin A-Z and Cyrillic 192-223 to lower case, capital yo (168) to small yo (184).
constexpr unsigned char LowerChar(unsigned char c) {
    if ((c >= 65 && c <= 90) || (c >= 192 && c <= 223)) return static_cast<unsigned char>(c + 32);
    if (c == 168) return 184;
    return c;
}

// The reverse: Latin a-z and Cyrillic 224-255 to capitals, small yo (184) to capital yo (168).
constexpr unsigned char UpperChar(unsigned char c) {
    if ((c >= 97 && c <= 122) || c >= 224) return static_cast<unsigned char>(c - 32);
    if (c == 184) return 168;
    return c;
}

// Entry i: character i, count 0, paired with itself.
void ResetLetterTable(LetterTable& table);

// True when x is one of the bytes of s before its first NUL.
bool InEtalon(unsigned char x, const std::string& s);

// Stable sort by count: direction 0 largest first, 1 smallest first, anything else leaves the
// order alone.
void SortLetterTable(LetterTable& table, int direction);

// Sorts the table and gives each entry whose character occurs in s a letter of s by rank.
// An empty s leaves the table untouched.
void PairWithEtalon(LetterTable& table, const std::string& s, int direction);

}  // namespace varn
