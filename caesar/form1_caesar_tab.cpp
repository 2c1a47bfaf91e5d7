#include "app/bar_progress.h"
#include "app/form1.h"
#include "caesar/caesar_pass.h"

namespace {

void ShowCaesarMessage(TForm1& form, varn::CaesarMessage message) {
    using varn::CaesarMessage;
    const std::string result = varn::kCaesarResultFile;
    switch (message) {
        case CaesarMessage::InputNotOpen:
            form.ShowMessage(MessageKind::Error, "Входной файл не открыт!",
                             "The Input file not open!");
            break;
        case CaesarMessage::TempNotOpen:
            form.ShowMessage(MessageKind::Error, "Временный файл не открыт!",
                             "Temporary file not open!");
            break;
        case CaesarMessage::SourceNotRemoved:
            form.ShowMessage(MessageKind::Error, "Исходный файл не удалён!",
                             "Source file not remove!");
            break;
        case CaesarMessage::TempNotRenamedToSource:
            form.ShowMessage(MessageKind::Error, "Временный файл не переименован в исходный!",
                             "Temporary file not rename to source file!");
            break;
        case CaesarMessage::TempNotRenamedToCrypt:
            form.ShowMessage(MessageKind::Error, "Временный файл не переименован в шифрованный!",
                             "Temporary file not rename to crypt - file!");
            break;
        case CaesarMessage::DoneEncrypt:
            form.ShowMessage(MessageKind::CaesarNotice,
                             "Шифрование файла закончено.\nЗашифрованные данные в файле " + result,
                             "Encryption of the file is finished.\nEncrypt data in file " + result);
            break;
        case CaesarMessage::DoneDecrypt:
            form.ShowMessage(
                MessageKind::CaesarNotice,
                "Расшифрование файла закончено.\nРасшифрованные данные в файле " + result,
                "Decryption of the file is finished.\nDecrypt data in file " + result);
            break;
    }
}

void RunPass(TForm1& form, bool decipher) {
    // The whole text is the name, used whole: a cut name could name another file.
    const std::string name = form.MemoFile3V.text();
    if (name.empty()) {
        form.ShowMessage(MessageKind::Warning, "Входной файл не указан!",
                         "Input file is not specified!");
        return;
    }
    BarProgress bar(form.ProgressBar3V);
    for (varn::CaesarMessage message :
         varn::RunCaesarPass(name, decipher, form.CheckBoxOvervriteFile3V.checked(), bar)) {
        ShowCaesarMessage(form, message);
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
