#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/letter_table.h"

namespace varn {

// The percentage rounded up to three decimals: the ceiling of count * 100000 / total, taken
// exactly in integers, then * 0.001. A total of 0 gives 0.
std::uint64_t PercentageThousandths(std::uint64_t count, std::uint64_t total);
double Percentage(std::uint64_t count, std::uint64_t total);

// One row of the result table as cp1251 bytes: three spaces, count, TAB, space, percentage,
// " %", TAB, TAB, the character byte (nothing for code 0), TAB, then `lastColumn`.
std::string ResultRow(const LetterEntry& entry, std::uint64_t total, const std::string& lastColumn);

// Tab stops, in average characters, that keep the rows of a count of `total` in columns: the
// usual 8 while the counts are short, wider once the first column's counts reach 8 digits.
std::size_t ResultTabStop(std::uint64_t total);

// Rows of the count on standard: one per entry whose character is in `s`, in table order, the
// last column being the paired letter.
std::vector<std::string> EtalonRows(const LetterTable& table, const std::string& s,
                                    std::uint64_t total);

struct AllRowsResult {
    std::vector<std::string> rows;  // one per entry with a count, last column the decimal code
    std::string newStandard;        // those characters in table order, code 0 left out
};

// Rows of "all" and the new standard built from them.
AllRowsResult AllRows(const LetterTable& table, std::uint64_t total);

// Summary lines (UTF-8) under the rows.
std::vector<std::string> EtalonSummary(std::uint64_t total, bool russian);
std::vector<std::string> AllSummary(std::uint64_t total, bool russian);

}  // namespace varn
