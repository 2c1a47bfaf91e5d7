#include "app/bar_progress.h"
#include "app/file_messages.h"
#include "app/form1.h"
#include "caesar/caesar_pass.h"

namespace {

void RunPass(TForm1& form, bool decipher) {
    // The whole text is the name, used whole: a cut name could name another file.
    const std::string name = form.MemoFile3V.text();
    if (name.empty()) {
        form.ShowMessage(MessageKind::Warning, "Входной файл не указан!",
                         "Input file is not specified!");
        return;
    }
    BarProgress bar(form.ProgressBar3V);
    // The file is written in the encoding it is in.
    const varn::DosTextOptions options =
        varn::CaesarOptions(varn::CaesarTextEncoding(name, decipher));
    const bool replace = form.CheckBoxOvervriteFile3V.checked();
    const varn::CaesarOutcome outcome = varn::RunCaesarPass(name, decipher, replace, bar, options);
    EndIfCancelled(outcome.failure);
    for (const CaesarMessage message : CaesarMessages(outcome, decipher, replace)) {
        ShowMessageText(form, CaesarMessageText(message));
    }
}

}  // namespace

void TForm1::Button_OpenSkitalaFileClick() {
    OpenDialogSkitalaFile.title =
        tr("Выбор шифруемого/дешифруемого файла", "Choice encrypt/decrypt file");
    OpenDialogSkitalaFile.execute();
    if (!OpenDialogSkitalaFile.fileName.empty()) MemoFile3V.setText(OpenDialogSkitalaFile.fileName);
}

void TForm1::ButtonEnClick() {
    RunPass(*this, false);
}
void TForm1::ButtonDeClick() {
    RunPass(*this, true);
}
