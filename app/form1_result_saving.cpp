#include "app/form1.h"
#include "io/whole_file.h"

void TForm1::ButtonSaveResClick() {
    SaveDialog1.title = tr("Сохранение результата подсчёта", "Save of the result count");
    if (!Memo2.hasLines()) {
        ShowMessage(MessageKind::Warning, "Нет текста в окне результатов\nдля сохранения.",
                    "No text in window result \n for save.");
        return;
    }
    // A cancelled dialog writes nothing, even when it still holds an earlier name.
    if (SaveDialog1.execute() && !SaveDialog1.fileName.empty()) {
        std::string bytes;
        if (LinesInFileEncoding({&Memo2}, bytes))
            varn::io::ReplaceWholeFile(SaveDialog1.fileName, bytes);
    }
}
