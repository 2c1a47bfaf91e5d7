#pragma once

class TForm1;

// Writes one column of the caption table and of the hint table into the window's controls:
// language 0 is Russian, any other value English.
void ApplyLanguageTexts(TForm1& form, int language);

struct LanguageRow {
    const char* control;
    const char* russian;
    const char* english;
};

// The 54 captions and the 45 hints, in the order the switch writes them.
extern const LanguageRow kCaptionTable[55];
extern const LanguageRow kHintTable[46];
