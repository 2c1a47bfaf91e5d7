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

    // Descending walks the standard and the table from their fronts, ascending from their backs.
    if (direction != kDescending && direction != kAscending) return;
    const long step = direction == kDescending ? 1 : -1;
    const auto length = static_cast<long>(s.size());
    const auto inside = [](long index, long size) { return index >= 0 && index < size; };
    long k = step > 0 ? 0 : length - 1;
    long t = step > 0 ? 0 : 255;
    int iterations = 0;
    while (inside(k, length)) {
        ++iterations;
        long f = t;
        while (inside(f, 256) && !inS[table[f].character]) f += step;
        if (inside(f, 256)) {
            table[f].paired = static_cast<unsigned char>(s[k]);
            t = f + step;
            k += step;
        }
        if (iterations > kPairingIterationBound) break;
    }
}

}  // namespace varn
