#include <array>

#include "analysis/builtin_standards.h"
#include "analysis/size_notice.h"
#include "app/form1.h"
#include "io/whole_file.h"
#include "text/detect_encoding.h"
#include "ui/cp1251.h"

namespace {

using varn::kEnglishAscending;
using varn::kEnglishDescending;
using varn::kRussianAscending;
using varn::kRussianDescending;

void ChooseBuiltIn(TForm1& form, ui::RadioButton& own, const char* standard, int direction) {
    form.state.SortDirection = direction;
    form.Memo1.setText(standard);
    if (direction == 1) {
        form.RadioButtonUp.setChecked(true);
        form.RadioButtonDn.setChecked(false);
    } else {
        form.RadioButtonDn.setChecked(true);
        form.RadioButtonUp.setChecked(false);
    }
    // Last, after the direction button may have cleared all four.
    own.setChecked(true);
}

// The code of the character after the caret, shown as the memo's hint: two blanks, the
// character in apostrophes, " -lat" or " -rus", seven blanks and the decimal code. At the end of
// the text the character is the terminating NUL, which cuts the text after its apostrophe.
void ShowCharacterCode(ui::Memo& memo) {
    if (!memo.hasLines()) return;
    const std::string bytes = ui::EncodeCp1251(memo.text());
    const std::size_t at = memo.selStart();
    const unsigned char code = at < bytes.size() ? static_cast<unsigned char>(bytes[at]) : 0;
    std::string buffer(17, ' ');
    const std::string group = code < 128 ? "lat" : "rus";
    buffer.replace(2, 10, std::string("'") + static_cast<char>(code) + "' -" + group + "  ");
    if (code == 0) {
        memo.setHint(ui::DecodeCp1251(buffer.substr(0, 3)));
        return;
    }
    memo.setHint(ui::DecodeCp1251(buffer) + std::to_string(code));
}

}  // namespace

void TForm1::UncheckBuiltInStandards() {
    for (ui::RadioButton* button :
         {&RadioButtonRusDn, &RadioButtonRusUp, &RadioButtonEngDn, &RadioButtonEndUp}) {
        button->setChecked(false);
    }
}

void TForm1::RadioButtonRusDnClick() {
    ChooseBuiltIn(*this, RadioButtonRusDn, kRussianDescending, 0);
}
void TForm1::RadioButtonRusUpClick() {
    ChooseBuiltIn(*this, RadioButtonRusUp, kRussianAscending, 1);
}
void TForm1::RadioButtonEngDnClick() {
    ChooseBuiltIn(*this, RadioButtonEngDn, kEnglishDescending, 0);
}
void TForm1::RadioButtonEndUpClick() {
    ChooseBuiltIn(*this, RadioButtonEndUp, kEnglishAscending, 1);
}

void TForm1::RadioButtonDnClick() {
    state.SortDirection = 0;
    UncheckBuiltInStandards();
}

void TForm1::RadioButtonUpClick() {
    state.SortDirection = 1;
    UncheckBuiltInStandards();
}

void TForm1::ButtonClearEtalonClick() {
    Memo1.clear();
    UncheckBuiltInStandards();
    state.SortDirection = 0;
}

void TForm1::ButtonOpenEtalClick() {
    OpenDialog2.title = tr("Открытие эталона распределения букв",
                           "Opening of the standard of the sharing the letters");
    OpenDialog2.execute();
    const std::string name = OpenDialog2.fileName;
    if (name.empty()) return;
    const std::uint64_t size = varn::io::TakeSize(name);
    if (size >= varn::kDisplayLimit) {
        Memo1.setText(varn::SizeNotice(size, russian()));
    } else {
        // A standard file is read in the encoding found in it.
        std::string bytes = varn::io::ReadWholeFile(name);
        const varn::Encoding encoding = varn::DetectEncoding(bytes);
        if (encoding == varn::Encoding::Windows1251) {
            Memo1.loadFromBytes(std::move(bytes));
        } else {
            Memo1.loadFromText(varn::TextToUtf8(bytes, encoding));
        }
        MemoOldEtl.setText(Memo1.text());
    }
    UncheckBuiltInStandards();
    state.SortDirection = 0;
}

void TForm1::ButtonSaveEtalClick() {
    SaveDialog2.title = tr("Сохранение эталона", "Save of the standard");
    if (!Memo1.hasLines()) {
        ShowMessage(MessageKind::Warning, "Нет эталона для сохранения.", "No standart for save");
        return;
    }
    // A cancelled dialog writes nothing, even when it still holds an earlier name.
    if (SaveDialog2.execute() && !SaveDialog2.fileName.empty()) {
        std::string bytes;
        if (LinesInFileEncoding({&Memo1}, bytes))
            varn::io::ReplaceWholeFile(SaveDialog2.fileName, bytes);
    }
}

void TForm1::TabSheet3Show() {
    MemoOldEtl.setText(Memo1.text());
    ProgressBarNewFilePass1.setPosition(0);
    ProgressBarNewFile.setPosition(0);
}

void TForm1::Memo1Click() {
    ShowCharacterCode(Memo1);
}
void TForm1::MemoOldEtlClick() {
    ShowCharacterCode(MemoOldEtl);
}
