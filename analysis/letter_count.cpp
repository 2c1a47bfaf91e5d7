#include "analysis/letter_count.h"

namespace varn {

void FoldIntoTable(const ByteCounts& raw, LetterTable& table) {
    ResetLetterTable(table);
    for (int c = 0; c < 256; ++c) table[LowerChar(static_cast<unsigned char>(c))].count += raw[c];
}

namespace {

std::uint64_t CountInto(LetterTable& table, const std::string& path, Progress& a, Progress* b,
                        const CountOptions& options) {
    ResetLetterTable(table);
    ByteCounts raw{};
    const FileCount counted = CountFileBytes(
        path, raw,
        [&](std::uint64_t size) {
            a.SetMax(size / kProgressStep);
            a.SetPosition(0);
            if (b) {
                b->SetMax(size / kProgressStep);
                b->SetPosition(0);
            }
        },
        [&](std::uint64_t steps) {
            a.Advance(steps);
            if (b) b->Advance(steps);
        },
        options);
    FoldIntoTable(raw, table);
    return counted.characters;
}

}  // namespace

std::uint64_t CountOnEtalon(LetterTable& table, std::string& s, const std::string& path,
                            int direction, Progress& a, Progress& b, const CountOptions& options) {
    if (s.size() >= 2 && s[s.size() - 2] == '\r' && s[s.size() - 1] == '\n') s.resize(s.size() - 2);
    const std::uint64_t total = CountInto(table, path, a, &b, options);
    PairWithEtalon(table, s, direction);
    a.Fill();
    b.Fill();
    return total;
}

std::uint64_t CountAll(LetterTable& table, const std::string& path, int direction, Progress& bar,
                       const CountOptions& options) {
    const std::uint64_t total = CountInto(table, path, bar, nullptr, options);
    SortLetterTable(table, direction);
    bar.Fill();
    return total;
}

}  // namespace varn
