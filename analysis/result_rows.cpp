#include "analysis/result_rows.h"

#include "analysis/number_format.h"

namespace varn {

std::uint64_t PercentageThousandths(std::uint64_t count, std::uint64_t total) {
    if (total == 0) return 0;
    // Exact: a quotient taken in floating point first lands just above round values (28 of 100
    // would read 28.001).
    const unsigned __int128 scaled = static_cast<unsigned __int128>(count) * 100000u;
    return static_cast<std::uint64_t>((scaled + total - 1) / total);
}

double Percentage(std::uint64_t count, std::uint64_t total) {
    return static_cast<double>(PercentageThousandths(count, total)) * 0.001;
}

std::string ResultRow(const LetterEntry& entry, std::uint64_t total,
                      const std::string& lastColumn) {
    std::string row = "   ";
    row += FormatNumber(entry.count);
    row += "\t ";
    row += FormatNumber(Percentage(entry.count, total));
    row += " %\t\t";
    if (entry.character != 0) row += static_cast<char>(entry.character);
    row += '\t';
    row += lastColumn;
    return row;
}

std::size_t ResultTabStop(std::uint64_t total) {
    std::size_t digits = 1;
    for (std::uint64_t rest = total; rest >= 10; rest /= 10) ++digits;
    // The three blanks before the count and room for the gap after it.
    return digits < 8 ? 8 : digits + 4;
}

std::vector<std::string> EtalonRows(const LetterTable& table, const std::string& s,
                                    std::uint64_t total) {
    std::vector<std::string> rows;
    for (const LetterEntry& entry : table) {
        if (InEtalon(entry.character, s))
            rows.push_back(
                ResultRow(entry, total, std::string(1, static_cast<char>(entry.paired))));
    }
    return rows;
}

AllRowsResult AllRows(const LetterTable& table, std::uint64_t total) {
    AllRowsResult result;
    for (const LetterEntry& entry : table) {
        if (entry.count == 0) continue;
        if (entry.character != 0) result.newStandard += static_cast<char>(entry.character);
        result.rows.push_back(
            ResultRow(entry, total, FormatNumber(std::uint64_t{entry.character})));
    }
    return result;
}

std::vector<std::string> EtalonSummary(std::uint64_t total, bool russian) {
    return {(russian ? "Всего букв : " : "Letters : ") + FormatNumber(total)};
}

std::vector<std::string> AllSummary(std::uint64_t total, bool russian) {
    return {(russian ? "Всего букв : " : "Whole letters : ") + FormatNumber(total),
            russian ? "См. новый эталон..." : "Refer to new standard..."};
}

}  // namespace varn
