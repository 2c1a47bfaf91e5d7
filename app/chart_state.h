#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "text/byte_count.h"
#include "analysis/frequency_chart.h"

// What the letter chart shows: the bars of the last count against the current standard, or the
// file's most frequent pairs of letters.
enum class ChartView { Letters, Bigrams };

// The chart window as the form keeps it; the front end draws it and forwards clicks to the form's
// chart handlers. Texts are UTF-8, letters Windows-1251.
struct ChartSnapshot {
    bool shown = false;          // the window should be open
    std::uint64_t openings = 0;  // how often the chart was asked for: each raises the window
    bool counted = false;        // a count has run since the start
    bool russian = true;         // the interface language
    ChartView view = ChartView::Letters;
    varn::ChartOrder order = varn::ChartOrder::ByCount;
    varn::FrequencyChart chart;
    std::vector<varn::BigramBar> bigrams;  // with the bigram view
    std::array<unsigned char, 256> key{};  // the substitution key: letter to partner
    std::optional<std::size_t> selected;   // the bar clicked first of an exchange
    bool canUndo = false;
    std::vector<std::string> statistics;  // lines under the chart
};

// The window's own texts in the interface language.
struct ChartTexts {
    std::string title, letters, bigrams, alphabetical, undo, exportImage, exportTitle, hint,
        nothingCounted, legendFile, legendLanguage, legendBigrams;
};
ChartTexts ChartTextsIn(bool russian);

// Inputs the chart was last built from; a change in any rebuilds it.
struct ChartInputs {
    varn::ByteCounts counts{};
    std::string standard;
    std::string file;
    int direction = 0;
    bool russian = true;
    ChartView view = ChartView::Letters;
    varn::ChartOrder order = varn::ChartOrder::ByCount;
    bool operator==(const ChartInputs&) const = default;
};

// One exchange made on the chart: the editor's texts before it and the standard after it.
struct ChartExchangeRecord {
    std::string standardBefore;
    std::string reminderBefore;
    std::string standardAfter;
};

struct ChartState {
    ChartSnapshot snapshot;
    std::optional<ChartInputs> built;
    std::string bigramsFile;  // the file and counts the bigrams were taken from
    varn::ByteCounts bigramsCounts{};
    std::vector<ChartExchangeRecord> undo;
    // Told of every change, with what to show; the front end may be on another thread.
    std::function<void(const ChartSnapshot&)> OnChange;
};

// How the chart is written out.
enum class ChartImageFormat { Png, Svg };
// Draws the chart as a file's bytes in that format.
using ChartRenderer = std::function<std::string(ChartImageFormat)>;
