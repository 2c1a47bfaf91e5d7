#include <algorithm>
#include <cctype>

#include "analysis/letter_statistics.h"
#include "app/bar_progress.h"
#include "app/form1.h"
#include "io/whole_file.h"
#include "ui/cp1251.h"

ChartTexts ChartTextsIn(bool russian) {
    if (russian) {
        return {"Диаграмма частот букв",
                "Буквы",
                "Биграммы",
                "По алфавиту",
                "Отменить обмен",
                "Сохранить рисунок...",
                "Сохранение диаграммы",
                "Щёлкните два столбца, чтобы обменять их буквы в эталоне (Ctrl+Z отменяет)",
                "Ничего не подсчитано: нажмите «По эталону» или «Всё» на вкладке «Подсчёт».",
                "файл",
                "язык: ожидаемая доля буквы эталона",
                "файл: 30 самых частых пар букв, под ними те же пары через эталон"};
    }
    return {"Letter frequency chart",
            "Letters",
            "Bigrams",
            "Alphabetical",
            "Undo exchange",
            "Save picture...",
            "Save of the chart",
            "Click two bars to exchange their letters in the standard (Ctrl+Z undoes)",
            "Nothing counted yet: press \"On standard\" or \"All Scan\" on the Count tab.",
            "file",
            "language: expected share of the standard's letter",
            "file: the 30 most frequent pairs of letters, under them the same pairs through the "
            "standard"};
}

namespace {

// "In window" again when the New file tab's window shows a substitution, so the user reads the
// text under the new standard at once.
void RedoSubstitutionShown(TForm1& form) {
    if (form.Memo10.hasLines()) form.Button_VOknoClick();
}

}  // namespace

void TForm1::NotifyChart() {
    chart.snapshot.canUndo = !chart.undo.empty();
    if (chart.OnChange) chart.OnChange(chart.snapshot);
}

void TForm1::RefreshChart() {
    ChartInputs inputs;
    for (const varn::LetterEntry& entry : state.LetterTable) {
        inputs.counts[entry.character] = entry.count;
    }
    inputs.standard = varn::StandardAsCounted(ui::EncodeCp1251(Memo1.text()));
    inputs.file = OpenDialog1.fileName;
    inputs.direction = state.SortDirection;
    inputs.russian = russian();
    inputs.view = chart.snapshot.view;
    inputs.order = chart.snapshot.order;
    if (chart.built && *chart.built == inputs) return;
    const bool countsChanged = !chart.built || chart.built->counts != inputs.counts;

    ChartSnapshot& shown = chart.snapshot;
    shown.russian = inputs.russian;
    shown.counted = std::any_of(inputs.counts.begin(), inputs.counts.end(),
                                [](std::uint64_t count) { return count > 0; });
    const varn::LetterLanguage language = varn::LanguageOfStandard(
        inputs.standard, russian() ? varn::LetterLanguage::Russian : varn::LetterLanguage::English);
    shown.chart = varn::BuildFrequencyChart(inputs.counts, inputs.standard, inputs.direction,
                                            language, inputs.order);
    for (int c = 0; c < 256; ++c) shown.key[c] = static_cast<unsigned char>(c);
    for (const varn::ChartBar& bar : shown.chart.bars) {
        if (bar.paired) shown.key[bar.letter] = bar.partner;
    }
    shown.statistics = varn::FormatLetterStatistics(shown.chart.statistics, inputs.russian);
    if (countsChanged || shown.selected >= shown.chart.bars.size()) shown.selected.reset();

    // The pairs need a pass over the file of their own: only while they are shown, once per count.
    if (shown.shown && shown.view == ChartView::Bigrams && shown.counted &&
        (chart.bigramsFile != inputs.file || chart.bigramsCounts != inputs.counts)) {
        // Remembered only once counted: a failed or cancelled count leaves the view it had.
        BarProgress bar(ProgressBar1);
        shown.bigrams =
            varn::TopBigrams(varn::CountFileBigrams(inputs.file, &bar, state.FileEncoding()));
        chart.bigramsFile = inputs.file;
        chart.bigramsCounts = inputs.counts;
    }
    // Built only once whole: a refresh that failed is done again at the next look.
    chart.built = inputs;
    NotifyChart();
}

void TForm1::ButtonChartClick() {
    chart.snapshot.shown = true;
    ++chart.snapshot.openings;
    chart.built.reset();
    RefreshChart();
}

void TForm1::ChartClosed() {
    chart.snapshot.shown = false;
    chart.snapshot.selected.reset();
    NotifyChart();
}

void TForm1::ChartViewClick(ChartView view) {
    chart.snapshot.view = view;
    chart.snapshot.selected.reset();
    RefreshChart();
}

void TForm1::ChartAlphabeticalClick(bool alphabetical) {
    chart.snapshot.order =
        alphabetical ? varn::ChartOrder::Alphabetical : varn::ChartOrder::ByCount;
    chart.snapshot.selected.reset();
    RefreshChart();
}

void TForm1::ChartBarClick(std::size_t bar) {
    // The bars must be those of the standard as it stands now.
    RefreshChart();
    ChartSnapshot& shown = chart.snapshot;
    // A line break of the standard stays where it is: moved, it would split the editor's lines.
    if (shown.view != ChartView::Letters || bar >= shown.chart.bars.size() ||
        !shown.chart.bars[bar].paired || shown.chart.bars[bar].partner == '\r' ||
        shown.chart.bars[bar].partner == '\n') {
        return;
    }
    if (!shown.selected) {
        shown.selected = bar;
        NotifyChart();
        return;
    }
    const std::size_t first = *shown.selected;
    shown.selected.reset();
    if (first == bar) {
        NotifyChart();
        return;
    }
    ChartExchange(first, bar);
}

// The two bars' partners change places in the standard, as a hand edit swapping them would; the
// old standard goes to the reminder, as the automatic search leaves it.
void TForm1::ChartExchange(std::size_t a, std::size_t b) {
    const std::vector<varn::ChartBar>& bars = chart.snapshot.chart.bars;
    const std::string before = Memo1.text();
    const std::string exchanged = ui::DecodeCp1251(
        varn::ExchangeInStandard(ui::EncodeCp1251(before), bars[a].position, bars[b].position));
    chart.undo.push_back({before, MemoOldEtl.text(), exchanged});
    MemoOldEtl.setText(before);
    Memo1.setText(exchanged);
    UncheckBuiltInStandards();
    RefreshChart();
    RedoSubstitutionShown(*this);
}

void TForm1::ChartUndoClick() {
    if (chart.undo.empty()) return;
    const ChartExchangeRecord last = chart.undo.back();
    chart.undo.pop_back();
    // A standard edited since the exchange is the user's: undo would throw that edit away.
    if (Memo1.text() != last.standardAfter) {
        chart.undo.clear();
        NotifyChart();
        return;
    }
    Memo1.setText(last.standardBefore);
    MemoOldEtl.setText(last.reminderBefore);
    chart.snapshot.selected.reset();
    RefreshChart();
    NotifyChart();
    RedoSubstitutionShown(*this);
}

void TForm1::ChartExportClick(const ChartRenderer& render) {
    SaveDialogChart.title = ChartTextsIn(russian()).exportTitle;
    if (!SaveDialogChart.execute() || SaveDialogChart.fileName.empty()) return;
    std::string name = SaveDialogChart.fileName;
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const bool svg = name.size() >= 4 && name.compare(name.size() - 4, 4, ".svg") == 0;
    varn::io::ReplaceWholeFile(SaveDialogChart.fileName,
                               render(svg ? ChartImageFormat::Svg : ChartImageFormat::Png));
}
