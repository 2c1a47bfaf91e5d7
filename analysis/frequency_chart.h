#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/language_frequencies.h"
#include "analysis/letter_statistics.h"
#include "text/byte_count.h"
#include "text/progress.h"

namespace varn {

// One bar of the chart: a character of the file, its share, and the standard's letter that the
// count pairs with it by rank.
struct ChartBar {
    unsigned char letter = 0;
    std::uint64_t count = 0;
    double share = 0;  // of the bars' total
    bool paired = false;
    unsigned char partner = 0;  // the standard's letter of the same rank (when paired)
    std::size_t position = 0;   // where that letter stands in the standard (when paired)
    double expectedShare = 0;   // the partner's share in the language, over the bars' partners
};

enum class ChartOrder { ByCount, Alphabetical };

struct FrequencyChart {
    std::vector<ChartBar> bars;
    std::uint64_t total = 0;  // sum of the bars' counts
    LetterStatistics statistics;
};

// The standard as the count takes it: one final CR LF cut off.
std::string StandardAsCounted(std::string standard);

// The chart of counts by folded byte (entry c: occurrences of the bytes that fold to c) against
// `standard` (Windows-1251 bytes, as the count takes them) in `direction`: one bar per character
// of the standard in the order of the result table "On standard", paired as the count pairs; with
// an empty standard one unpaired bar per letter or blank that occurs, sorted in `direction`. The
// expected shares and the statistics are those of `language`.
FrequencyChart BuildFrequencyChart(const ByteCounts& folded, const std::string& standard,
                                   int direction, LetterLanguage language, ChartOrder order);

// The standard with the letters at positions `a` and `b` exchanged: what a hand edit swapping the
// two gives. Positions outside the standard leave it unchanged.
std::string ExchangeInStandard(std::string standard, std::size_t a, std::size_t b);

// Pairs of adjacent letters (IsFoldedLetter, after folding), counted by first * 256 + second.
using BigramCounts = std::vector<std::uint64_t>;
BigramCounts EmptyBigramCounts();
// Adds the pairs of `data`; `previous` carries the folded byte before it (0 at the start).
void CountBigrams(const unsigned char* data, std::size_t size, unsigned char& previous,
                  BigramCounts& counts);
// The pairs of letters of a whole file in its encoding (a character without an 8-bit code ends a
// pair), moving `bar` as the count does (maximum size / 100, a step per 100 bytes, full at the
// end) when one is given. Throws io::FileError (Open, NotRegular, Read; a cancelled read too).
BigramCounts CountFileBigrams(const std::string& path, Progress* bar = nullptr,
                              Encoding encoding = Encoding::Windows1251);

struct BigramBar {
    unsigned char first = 0;
    unsigned char second = 0;
    std::uint64_t count = 0;
    double share = 0;  // of all pairs counted
};
inline constexpr std::size_t kShownBigrams = 30;
// The most frequent pairs, most frequent first, ties by code; pairs that never occur left out.
std::vector<BigramBar> TopBigrams(const BigramCounts& counts, std::size_t limit = kShownBigrams);

}  // namespace varn
