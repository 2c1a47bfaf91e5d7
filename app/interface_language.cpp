#include "app/interface_language.h"

#include "app/form1.h"

void ApplyLanguageTexts(TForm1& form, int language) {
    const bool russian = language == 0;
    for (const LanguageRow& row : kCaptionTable) {
        form.findControl(row.control)->setText(russian ? row.russian : row.english);
    }
    for (const LanguageRow& row : kHintTable) {
        form.findControl(row.control)->setHint(russian ? row.russian : row.english);
    }
    form.ShowEncodingTexts();
}

void TForm1::RadioButtonRusClick() {
    state.InterfaceLanguage = 0;
    platform.setInterfaceLanguage(0);
    RadioButtonEng.setChecked(false);
    RadioButtonRus.setChecked(true);
    ApplyLanguageTexts(*this, 0);
}

void TForm1::RadioButtonEngClick() {
    state.InterfaceLanguage = 1;
    platform.setInterfaceLanguage(1);
    RadioButtonRus.setChecked(false);
    RadioButtonEng.setChecked(true);
    ApplyLanguageTexts(*this, 1);
}
