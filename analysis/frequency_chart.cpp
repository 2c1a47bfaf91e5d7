#include "analysis/frequency_chart.h"

#include <algorithm>
#include <array>

#include "analysis/letter_table.h"
#include "io/file_reader.h"
#include "text/code_pieces.h"

namespace varn {

namespace {

// Alphabetical place: Latin, then Cyrillic with ё after е, then everything else by code.
int AlphabeticalKey(unsigned char c) {
    if (c >= 'a' && c <= 'z') return c;
    if (c == 184) return 1000 + 229 * 2 + 1;
    if (c >= 224) return 1000 + c * 2;
    return 2000 + c;
}

}  // namespace

std::string StandardAsCounted(std::string standard) {
    if (standard.size() >= 2 && standard.compare(standard.size() - 2, 2, "\r\n") == 0) {
        standard.resize(standard.size() - 2);
    }
    return standard;
}

FrequencyChart BuildFrequencyChart(const ByteCounts& folded, const std::string& standard,
                                   int direction, LetterLanguage language, ChartOrder order) {
    LetterTable table;
    ResetLetterTable(table);
    for (int c = 0; c < 256; ++c) table[c].count = folded[c];

    FrequencyChart chart;
    if (standard.empty()) {
        SortLetterTable(table, direction);
        for (const LetterEntry& entry : table) {
            if (entry.count > 0 && (IsFoldedLetter(entry.character) || entry.character == ' ')) {
                chart.bars.push_back({entry.character, entry.count});
            }
        }
    } else {
        PairWithEtalon(table, standard, direction);
        for (const LetterEntry& entry : table) {
            if (InEtalon(entry.character, standard)) {
                ChartBar bar{entry.character, entry.count};
                bar.paired = true;
                bar.partner = entry.paired;
                chart.bars.push_back(bar);
            }
        }
        // The pairing gives the standard's positions by rank: the first ones from the front when
        // descending, the last ones from the back when ascending.
        const std::size_t used = chart.bars.size();
        const std::size_t first = direction == kAscending ? standard.size() - used : 0;
        for (std::size_t i = 0; i < used; ++i) chart.bars[i].position = first + i;
    }

    const LanguageFrequencies& frequencies = FrequenciesOf(language);
    double partnerShares = 0;
    for (const ChartBar& bar : chart.bars) {
        chart.total += bar.count;
        if (bar.paired) partnerShares += static_cast<double>(frequencies.counts[bar.partner]);
    }
    std::vector<PairedCount> pairs;
    for (ChartBar& bar : chart.bars) {
        if (chart.total > 0) {
            bar.share = static_cast<double>(bar.count) / static_cast<double>(chart.total);
        }
        if (bar.paired && partnerShares > 0) {
            bar.expectedShare =
                static_cast<double>(frequencies.counts[bar.partner]) / partnerShares;
        }
        pairs.push_back({bar.count, bar.expectedShare});
    }
    chart.statistics = StatisticsOfCounts(folded, language);
    chart.statistics.chiSquared = ChiSquaredOfPairing(pairs);

    if (order == ChartOrder::Alphabetical) {
        std::stable_sort(chart.bars.begin(), chart.bars.end(),
                         [](const ChartBar& x, const ChartBar& y) {
                             return AlphabeticalKey(x.letter) < AlphabeticalKey(y.letter);
                         });
    }
    return chart;
}

std::string ExchangeInStandard(std::string standard, std::size_t a, std::size_t b) {
    if (a < standard.size() && b < standard.size()) std::swap(standard[a], standard[b]);
    return standard;
}

BigramCounts EmptyBigramCounts() {
    return BigramCounts(256 * 256, 0);
}

namespace {

// The pairs are counted in a small matrix of letter indices that stays in the first-level cache:
// the 59 letters of both alphabets and one index for everything else, whose row and column are
// dropped at the end. Four matrices in turn keep a run of one pair from waiting on its own
// counter.
constexpr unsigned kLetterCount = 59;
constexpr unsigned kOther = kLetterCount;
constexpr unsigned kSide = kLetterCount + 1;
constexpr std::size_t kChunk = std::size_t{1} << 30;  // bytes per round of 32-bit counters

struct LetterIndex {
    std::array<unsigned char, 256> ofByte{};           // raw byte to index, folding included
    std::array<unsigned char, kLetterCount> letter{};  // index to folded letter
};

const LetterIndex& Index() {
    static const LetterIndex index = [] {
        LetterIndex built;
        unsigned next = 0;
        std::array<unsigned char, 256> ofFolded{};
        ofFolded.fill(kOther);
        for (int c = 0; c < 256; ++c) {
            if (!IsFoldedLetter(static_cast<unsigned char>(c))) continue;
            built.letter[next] = static_cast<unsigned char>(c);
            ofFolded[c] = static_cast<unsigned char>(next++);
        }
        for (int c = 0; c < 256; ++c)
            built.ofByte[c] = ofFolded[LowerChar(static_cast<unsigned char>(c))];
        return built;
    }();
    return index;
}

}  // namespace

void CountBigrams(const unsigned char* data, std::size_t size, unsigned char& previous,
                  BigramCounts& counts) {
    const LetterIndex& index = Index();
    unsigned last = index.ofByte[previous];
    std::vector<std::uint32_t> matrices(4 * kSide * kSide, 0);
    std::uint32_t* m0 = matrices.data();
    std::uint32_t* m1 = m0 + kSide * kSide;
    std::uint32_t* m2 = m1 + kSide * kSide;
    std::uint32_t* m3 = m2 + kSide * kSide;
    const auto flush = [&] {
        for (unsigned a = 0; a < kLetterCount; ++a) {
            for (unsigned b = 0; b < kLetterCount; ++b) {
                const std::size_t cell = a * kSide + b;
                const std::uint64_t sum = std::uint64_t{m0[cell]} + m1[cell] + m2[cell] + m3[cell];
                counts[index.letter[a] * 256u + index.letter[b]] += sum;
            }
        }
        std::fill(matrices.begin(), matrices.end(), 0);
    };
    for (std::size_t start = 0; start < size; start += kChunk) {
        const unsigned char* p = data + start;
        const std::size_t n = std::min(kChunk, size - start);
        std::size_t i = 0;
        for (; i + 4 <= n; i += 4) {
            const unsigned c0 = index.ofByte[p[i]];
            const unsigned c1 = index.ofByte[p[i + 1]];
            const unsigned c2 = index.ofByte[p[i + 2]];
            const unsigned c3 = index.ofByte[p[i + 3]];
            ++m0[last * kSide + c0];
            ++m1[c0 * kSide + c1];
            ++m2[c1 * kSide + c2];
            ++m3[c2 * kSide + c3];
            last = c3;
        }
        for (; i < n; ++i) {
            const unsigned c = index.ofByte[p[i]];
            ++m0[last * kSide + c];
            last = c;
        }
        flush();
    }
    previous = last == kOther ? 0 : index.letter[last];
}

BigramCounts CountFileBigrams(const std::string& path, Progress* bar, Encoding encoding) {
    const InputFile file(path);
    if (!file.IsOpen()) throw io::FileError(file.Failure());
    BigramCounts counts = EmptyBigramCounts();
    unsigned char previous = 0;
    // Byte 1 is no letter: a character without a code parts the letters beside it.
    ReadAsCodes(file, encoding, 1, bar, [&](const unsigned char* codes, std::size_t size) {
        CountBigrams(codes, size, previous, counts);
    });
    if (bar) bar->Fill();
    return counts;
}

std::vector<BigramBar> TopBigrams(const BigramCounts& counts, std::size_t limit) {
    std::uint64_t total = 0;
    std::vector<BigramBar> bars;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        total += counts[i];
        if (counts[i] > 0) {
            bars.push_back({static_cast<unsigned char>(i / 256),
                            static_cast<unsigned char>(i % 256), counts[i]});
        }
    }
    std::stable_sort(bars.begin(), bars.end(),
                     [](const BigramBar& x, const BigramBar& y) { return x.count > y.count; });
    if (bars.size() > limit) bars.resize(limit);
    for (BigramBar& bar : bars) {
        bar.share = static_cast<double>(bar.count) / static_cast<double>(total);
    }
    return bars;
}

}  // namespace varn
