#include "analysis/letter_count.h"
#include "analysis/result_rows.h"
#include "app/bar_progress.h"
#include "app/form1.h"
#include "ui/cp1251.h"

namespace {

void AddRows(ui::Memo& memo, const std::vector<std::string>& rows) {
    for (const std::string& row : rows) memo.addLine(ui::DecodeCp1251(row));
}

void AddLines(ui::Memo& memo, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) memo.addLine(line);
}

}  // namespace

void TForm1::ButtonStartClick() {
    const std::string file = OpenDialog1.fileName;
    if (file.empty()) {
        ShowMessage(MessageKind::Warning, "Файл не выбран.", "The File is not chose.");
        return;
    }
    if (!Memo1.hasLines()) {
        ShowMessage(MessageKind::Warning, "Эталон не выбран.", "The Standard is not chose.");
        return;
    }
    Memo2.clear();
    std::string standard = ui::EncodeCp1251(Memo1.text());
    BarProgress countBar(ProgressBar1), passBar(ProgressBarNewFilePass1);
    const std::uint64_t total =
        varn::CountOnEtalon(state.LetterTable, standard, file, state.SortDirection, countBar,
                            passBar, {.threads = state.countThreads});
    Memo5.clear();
    Memo5.addLine(std::string(tr("Эталон", "Standard")));
    AddRows(Memo2, varn::EtalonRows(state.LetterTable, standard, total));
    AddLines(Memo2, varn::EtalonSummary(total, russian()));
}

void TForm1::Button_AllScanClick() {
    const std::string file = OpenDialog1.fileName;
    if (file.empty()) {
        ShowMessage(MessageKind::Warning, "Файл не выбран.", "The File is not chose.");
        return;
    }
    Memo2.clear();
    for (ui::RadioButton* button :
         {&RadioButtonRusDn, &RadioButtonRusUp, &RadioButtonEngDn, &RadioButtonEndUp}) {
        button->setChecked(false);
    }
    Memo1.clear();
    MemoOldEtl.clear();
    BarProgress countBar(ProgressBar1);
    const std::uint64_t total = varn::CountAll(state.LetterTable, file, state.SortDirection,
                                               countBar, {.threads = state.countThreads});
    Memo5.clear();
    Memo5.addLine(std::string(tr("Код ASCII", "Cod ASCII")));
    Memo1.clear();
    countBar.Fill();
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
