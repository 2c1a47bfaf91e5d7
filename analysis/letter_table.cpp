#include "analysis/letter_table.h"

#include <algorithm>
#include <cstring>

namespace varn {

void ResetLetterTable(LetterTable& table) {
    for (int i = 0; i < 256; ++i) {
        const auto c = static_cast<unsigned char>(i);
        table[i] = LetterEntry{c, 0, c};
    }
}

bool InEtalon(unsigned char x, const std::string& s) {
    // The standard is a C string to this test: nothing after a NUL counts.
    const std::size_t end = std::min(s.size(), std::strlen(s.c_str()));
    return x != 0 && std::memchr(s.data(), x, end) != nullptr;
}

void SortLetterTable(LetterTable& table, int direction) {
    // A bubble sort that never exchanges equal counts is exactly a stable sort.
    if (direction == kDescending) {
        std::stable_sort(
            table.begin(), table.end(),
            [](const LetterEntry& a, const LetterEntry& b) { return a.count > b.count; });
    } else if (direction == kAscending) {
        std::stable_sort(
            table.begin(), table.end(),
            [](const LetterEntry& a, const LetterEntry& b) { return a.count < b.count; });
    }
}

namespace {
// The pairing stops after the iteration in which its counter exceeds this, used up or not.
constexpr int kPairingIterationBound = 356;
}  // namespace

void PairWithEtalon(LetterTable& table, const std::string& s, int direction) {
    if (s.empty()) return;
    SortLetterTable(table, direction);

    bool inS[256] = {};
    for (int c = 0; c < 256; ++c) inS[c] = InEtalon(static_cast<unsigned char>(c), s);

    const auto length = static_cast<long>(s.size());
    int iterations = 0;
    if (direction == kDescending) {
        long k = 0;
        long t = 0;
        while (k < length) {
            ++iterations;
            long f = t;
            while (f < 256 && !inS[table[f].character]) ++f;
            if (f < 256) {
                table[f].paired = static_cast<unsigned char>(s[k]);
                t = f + 1;
                ++k;
            }
            if (iterations > kPairingIterationBound) break;
        }
    } else if (direction == kAscending) {
        long k = length - 1;
        long t = 255;
        while (k >= 0) {
            ++iterations;
            long f = t;
            while (f >= 0 && !inS[table[f].character]) --f;
            if (f >= 0) {
                table[f].paired = static_cast<unsigned char>(s[k]);
                t = f - 1;
                --k;
            }
            if (iterations > kPairingIterationBound) break;
        }
    }
}

}  // namespace varn
