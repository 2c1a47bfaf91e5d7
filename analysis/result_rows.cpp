#include "analysis/result_rows.h"

#include <cmath>

#include "analysis/number_format.h"

namespace varn {

double Percentage(std::uint64_t count, std::uint64_t total) {
    if (total == 0) return 0.0;
    const double scaled = static_cast<double>(count) / static_cast<double>(total) * 100000.0;
    return std::ceil(scaled) * 0.001;
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
