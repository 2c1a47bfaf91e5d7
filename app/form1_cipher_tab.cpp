#include <algorithm>

#include "app/file_messages.h"
#include "app/form1.h"
#include "crypt/crypt_operation.h"
#include "ui/cp1251.h"

namespace {

constexpr std::size_t kLongestPassword = 8;

// The passwords in use, in field order: one, or three in 3X mode.
std::vector<std::string> PasswordsInUse(const TForm1& form) {
    std::vector<std::string> passwords{ui::EncodeCp1251(form.EditPassWordIdea.text())};
    if (form.CheckBox3Idea.checked()) {
        passwords.push_back(ui::EncodeCp1251(form.EditPassWordIdea2.text()));
        passwords.push_back(ui::EncodeCp1251(form.EditPassWordIdea3.text()));
    }
    return passwords;
}

bool Validate(TForm1& form, const std::vector<std::string>& passwords) {
    for (const std::string& password : passwords) {
        if (password.empty()) {
            form.ShowMessage(MessageKind::Warning, "Задайте пароль.", "Enter password.");
            return false;
        }
    }
    for (const std::string& password : passwords) {
        if (password.size() > kLongestPassword) {
            form.ShowMessage(MessageKind::Warning, "Пароль не должен быть длиннее 8 символов.",
                             "The Password must not be longer 8 symbols.");
            return false;
        }
    }
    if (form.MemoIdeaFile.text().empty()) {
        form.ShowMessage(MessageKind::Warning, "Укажите файл.", "Indicate the file.");
        return false;
    }
    return true;
}

// An encryption that replaces its file leaves no plain copy behind: a mistyped password would
// lose the file. Each password is asked once more; false when one differs or the user cancels.
bool PasswordsRepeated(TForm1& form, const std::vector<std::string>& passwords) {
    for (std::size_t i = 0; i < passwords.size(); ++i) {
        const std::string number = passwords.size() > 1 ? " " + std::to_string(i + 1) : "";
        const auto again = form.platform.askPassword(
            std::string(form.tr("Введите пароль" + number + " ещё раз:",
                                "Enter password" + number + " once more:")),
            kApplicationTitle);
        if (!again) return false;
        if (ui::EncodeCp1251(*again) != passwords[i]) {
            form.ShowMessage(MessageKind::Warning, "Пароли не совпадают. Файл не изменён.",
                             "The passwords do not match. The file was not changed.");
            return false;
        }
    }
    return true;
}

void RunOperation(TForm1& form, bool decrypt) {
    std::vector<std::string> passwords = PasswordsInUse(form);
    if (!Validate(form, passwords)) return;
    if (!decrypt && form.CheckBoxOwer.checked() && !PasswordsRepeated(form, passwords)) return;
    // 3X decryption undoes the layers in reverse: password 3, then 2, then 1.
    if (decrypt) std::reverse(passwords.begin(), passwords.end());
    varn::CryptRequest request;
    request.fileName = form.MemoIdeaFile.text();
    request.passwords = std::move(passwords);
    request.decrypt = decrypt;
    request.overwrite = form.CheckBoxOwer.checked();
    const varn::CryptResult result = varn::RunCryptOperation(request);
    EndIfCancelled(result.failure);
    for (const MessageText& text : CryptResultTexts(result, decrypt)) ShowMessageText(form, text);
    // After a failure no completion is claimed.
    if (!result.ok()) return;
    if (decrypt) {
        form.ShowMessage(MessageKind::Notice, "Дешифрование файла закончено.",
                         "Decryption of the file is finished.");
    } else {
        form.ShowMessage(MessageKind::Notice, "Шифрование файла закончено.",
                         "Encryption of the file is finished.");
    }
}

}  // namespace

void TForm1::Button_OpenFileClick() {
    OpenDialogCrypt.title =
        tr("Выбор шифруемого/дешифруемого файла", "Choice encrypt/decrypt file");
    OpenDialogCrypt.execute();
    if (!OpenDialogCrypt.fileName.empty()) MemoIdeaFile.setText(OpenDialogCrypt.fileName);
}

void TForm1::CheckBox3IdeaClick() {
    const bool on = CheckBox3Idea.checked();
    for (ui::Edit* edit : {&EditPassWordIdea2, &EditPassWordIdea3}) {
        edit->setEnabled(on);
        edit->setVisible(on);
    }
    if (on) CheckBoxOwer.setChecked(true);
}

void TForm1::Button_EnCryptClick() {
    RunOperation(*this, false);
}
void TForm1::Button_DeCryptClick() {
    RunOperation(*this, true);
}
