#pragma once

#include <cstdint>
#include <string>

#include "analysis/letter_table.h"
#include "text/byte_count.h"
#include "text/progress.h"

namespace varn {

// Counts the file into the table on the standard `s`: cuts a final CR LF off `s` in place,
// resets the table, sets both bars to maximum size / 100 and position 0, counts every byte
// folded with LowerChar (advancing both bars at byte indices 0, 100, 200, ...), pairs the table
// with `s` in `direction`, fills both bars. Returns the number of bytes counted.
// Throws io::FileError as CountFileBytes does.
std::uint64_t CountOnEtalon(LetterTable& table, std::string& s, const std::string& path,
                            int direction, Progress& a, Progress& b,
                            const CountOptions& options = {});

// The count of "all": resets the table, counts the file with one bar as above, sorts the table
// in `direction` without pairing, fills the bar. Returns the number of bytes counted.
// Throws like CountOnEtalon.
std::uint64_t CountAll(LetterTable& table, const std::string& path, int direction, Progress& bar,
                       const CountOptions& options = {});

// Folds raw byte counts with LowerChar into a freshly reset table (entry i counts byte i).
void FoldIntoTable(const ByteCounts& raw, LetterTable& table);

}  // namespace varn
