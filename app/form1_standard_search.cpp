#include <string>

#include "analysis/letter_count.h"
#include "analysis/solve/key_standard.h"
#include "analysis/solve/solver.h"
#include "app/bar_progress.h"
#include "app/form1.h"
#include "ui/cp1251.h"

namespace {

using varn::solve::Language;

// Why nothing was solved, in the interface language; the standard stays as it was.
void ShowUnsolved(TForm1& form, const varn::solve::Solution& solution, Language language) {
    const bool russianText = language == Language::Russian;
    const std::string ruLetters = russianText ? "русских" : "английских";
    const std::string enLetters = russianText ? "Russian" : "English";
    if (solution.status == varn::solve::SolveStatus::NotLanguage) {
        form.ShowMessage(MessageKind::Warning,
                         std::string("Файл не похож на ") +
                             (russianText ? "русский" : "английский") +
                             " текст, зашифрованный простой заменой (случайные байты или "
                             "двоичный файл?): эталон не изменён.",
                         "The file does not read as " + enLetters +
                             " text under a simple substitution (random bytes or a binary "
                             "file?): the standard is left as it was.");
        return;
    }
    if (solution.status == varn::solve::SolveStatus::NoLetters) {
        form.ShowMessage(
            MessageKind::Warning, "В файле нет " + ruLetters + " букв: эталон не изменён.",
            "The file holds no " + enLetters + " letters: the standard is left as it was.");
        return;
    }
    const std::string count = std::to_string(solution.letters);
    const std::string least = std::to_string(varn::solve::kMinimumLetters);
    form.ShowMessage(
        MessageKind::Warning,
        "В файле только " + count + " " + ruLetters +
            " букв, а для подбора эталона нужно не меньше " + least + ": эталон не изменён.",
        "The file holds only " + count + " " + enLetters + " letters, at least " + least +
            " are needed to find the standard: the standard is left as it "
            "was.");
}

}  // namespace

// Solves the file under study in the language of the current standard and puts the standard
// that the count pairs into the solution in the editor: "In window" and "Create..." then give
// the plaintext. The old standard goes to the reminder, and the count on the new one is shown.
void TForm1::Memo1FindStandardClick() {
    if (!StudyFileChosen()) return;
    const std::string old = ui::EncodeCp1251(Memo1.text());
    const Language language =
        varn::solve::LanguageOfStandard(old, russian() ? Language::Russian : Language::English);
    BarProgress bar(ProgressBar1);
    const varn::solve::Solution solution =
        varn::solve::SolveFile(OpenDialog1.fileName, language, &bar, {}, state.FileEncoding());
    if (solution.status != varn::solve::SolveStatus::Solved) {
        ShowUnsolved(*this, solution, language);
        return;
    }
    varn::LetterTable table;
    varn::FoldIntoTable(solution.counts, table);
    // The space stays a member when the old standard had one, as the built-in ones do.
    const bool withSpace = old.empty() || old.find(' ') != std::string::npos;
    const std::string standard = varn::solve::StandardForKey(table, solution.plain, language,
                                                             state.SortDirection, withSpace);
    // The count on the found standard comes first: it reads the file again, so a cancel that
    // came after the search read it stops it there, and the editor changes only with the whole
    // result.
    const StandardCount count = CountStudyFileOnStandard(standard);
    MemoOldEtl.setText(Memo1.text());
    Memo1.setText(ui::DecodeCp1251(standard));
    UncheckBuiltInStandards();
    ShowStandardCount(count);
    if (!solution.reliable) {
        ShowMessage(MessageKind::Notice,
                    "Результат ненадёжен: текст слишком короткий или не на этом языке.",
                    "The result is unreliable: the text is too short or not in this language.");
    }
}
