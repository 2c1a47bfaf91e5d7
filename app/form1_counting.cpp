#include "analysis/letter_count.h"
#include "analysis/result_rows.h"
#include "app/bar_progress.h"
#include "app/form1.h"
#include "io/cancellation.h"
#include "ui/cp1251.h"

namespace {

void AddRows(ui::Memo& memo, const std::vector<std::string>& rows) {
    for (const std::string& row : rows) memo.addLine(ui::DecodeCp1251(row));
}

void AddLines(ui::Memo& memo, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) memo.addLine(line);
}

}  // namespace

bool TForm1::StudyFileChosen() {
    if (!OpenDialog1.fileName.empty()) return true;
    ShowMessage(MessageKind::Warning, "Файл не выбран.", "The File is not chose.");
    return false;
}

TForm1::StandardCount TForm1::CountStudyFileOnStandard(std::string standard) {
    BarProgress countBar(ProgressBar1), passBar(ProgressBarNewFilePass1);
    varn::CountOptions options;
    options.encoding = state.FileEncoding();
    StandardCount count{{}, std::move(standard), 0};
    count.total = varn::CountOnEtalon(count.table, count.standard, OpenDialog1.fileName,
                                      state.SortDirection, countBar, passBar, options);
    // A cancel that came after the last read still leaves the form as it was.
    varn::io::EndIfCancelled(OpenDialog1.fileName);
    return count;
}

void TForm1::ShowStandardCount(const StandardCount& count) {
    state.LetterTable = count.table;
    Memo2.clear();
    Memo2.setTabStopWidth(varn::ResultTabStop(count.total));
    Memo5.clear();
    Memo5.addLine(std::string(tr("Эталон", "Standard")));
    AddRows(Memo2, varn::EtalonRows(count.table, count.standard, count.total));
    AddLines(Memo2, varn::EtalonSummary(count.total, russian()));
}

void TForm1::ButtonStartClick() {
    if (!StudyFileChosen()) return;
    if (!Memo1.hasLines()) {
        ShowMessage(MessageKind::Warning, "Эталон не выбран.", "The Standard is not chose.");
        return;
    }
    ShowStandardCount(CountStudyFileOnStandard(ui::EncodeCp1251(Memo1.text())));
}

void TForm1::Button_AllScanClick() {
    if (!StudyFileChosen()) return;
    // Counted apart first: a count that fails or is cancelled leaves the standard, its reminder
    // and the result box as they were. The count leaves its bar at the maximum.
    BarProgress countBar(ProgressBar1);
    varn::CountOptions options;
    options.encoding = state.FileEncoding();
    varn::LetterTable table;
    const std::uint64_t total =
        varn::CountAll(table, OpenDialog1.fileName, state.SortDirection, countBar, options);
    varn::io::EndIfCancelled(OpenDialog1.fileName);
    state.LetterTable = table;
    Memo2.clear();
    Memo2.setTabStopWidth(varn::ResultTabStop(total));
    UncheckBuiltInStandards();
    MemoOldEtl.clear();
    Memo5.clear();
    Memo5.addLine(std::string(tr("Код ASCII", "Cod ASCII")));
    Memo1.clear();
    const varn::AllRowsResult all = varn::AllRows(state.LetterTable, total);
    AddRows(Memo2, all.rows);
    AddLines(Memo2, varn::AllSummary(total, russian()));
    Memo1.addLine(ui::DecodeCp1251(all.newStandard));
}

void TForm1::Button_AllScanMouseMove(int, int) {
    if (Memo1.hasLines()) {
        Button_AllScan.setHint(std::string(
            tr("!!! В поле Эталон есть текст !!!", "!!! In field a Standard there is text !!!")));
    }
}
