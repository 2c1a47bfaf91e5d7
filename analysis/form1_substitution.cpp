#include <cstdio>

#include "analysis/file_reader.h"
#include "analysis/replace_letters.h"
#include "analysis/size_notice.h"
#include "app/form1.h"
#include "ui/cp1251.h"
#include "ui/file_layer.h"

namespace {

constexpr const char* kSubstitutionTemp = "__varn__.tmp";

// Steps shared by both substitutions: the two checks, then the size and the bar of the pass.
// Returns false when a check failed and its message was shown.
bool CheckInputs(TForm1& form) {
    if (form.OpenDialog1.fileName.empty()) {
        form.ShowMessage(MessageKind::Warning, "Имя входного файла не задано.",
                         "The Name of the input file is not given.");
        return false;
    }
    if (!form.Memo1.hasLines()) {
        form.ShowMessage(MessageKind::Warning, "Не задан эталон.", "Not standard is given.");
        return false;
    }
    return true;
}

std::uint64_t PrepareSubstitutionBar(TForm1& form) {
    const std::uint64_t size = ui::OpenAndTakeSize(form.OpenDialog1.fileName);
    form.ProgressBarNewFile.setMax(static_cast<std::int64_t>(size / 100));
    form.ProgressBarNewFile.setPosition(0);
    return size;
}

void CountForSubstitution(TForm1& form) {
    std::string standard = ui::EncodeCp1251(form.Memo1.text());
    form.CountStudyFileOnStandard(standard);
}

// Runs the engine and reports its failures; true when the whole output was written.
bool Substitute(TForm1& form, const std::string& output) {
    const auto result = varn::ReplaceLetters(
        form.state.LetterTable, form.OpenDialog1.fileName, output, [&](std::uint64_t steps) {
            form.ProgressBarNewFile.stepBy(static_cast<std::int64_t>(steps));
        });
    switch (result) {
        case varn::DosTextResult::Ok:
            return true;
        case varn::DosTextResult::InputOpenFailed:
            form.ShowMessage(MessageKind::Error, "Входной файл не открыт.",
                             "The Input file not open.");
            return false;
        case varn::DosTextResult::OutputCreateFailed:
            form.ShowMessage(MessageKind::Error, "Выходной файл не создан.",
                             "The Output file is not created.");
            return false;
        case varn::DosTextResult::ReadFailed:
            throw ui::FileError("Stream read error");
        case varn::DosTextResult::WriteFailed:
            throw ui::FileError("Stream write error");
    }
    return false;
}

// Removes the temporary file however the pass ends.
struct TempFileRemover {
    ~TempFileRemover() { std::remove(kSubstitutionTemp); }
};

}  // namespace

void TForm1::ButtonNewFileClick() {
    if (!CheckInputs(*this)) return;
    PrepareSubstitutionBar(*this);
    const std::string source = OpenDialog1.fileName;
    SaveDialogNewFile.title = tr("Создание нового файла", "Create new file");
    SaveDialogNewFile.fileName = source;
    if (!SaveDialogNewFile.execute()) return;
    const std::string output = SaveDialogNewFile.fileName;
    // The output must not be the file under study under any spelling: it would be truncated
    // before it is read.
    if (output.empty() || output == source || varn::SameFile(output, source)) return;
    CountForSubstitution(*this);
    Substitute(*this, output);
}

void TForm1::Button_VOknoClick() {
    if (!CheckInputs(*this)) return;
    const std::uint64_t size = PrepareSubstitutionBar(*this);
    if (size >= varn::kDisplayLimit) {
        Memo10.setText(varn::SizeNotice(size, russian()));
        return;
    }
    // The count leaves both of its bars at their maximum.
    CountForSubstitution(*this);
    std::remove(kSubstitutionTemp);
    TempFileRemover remover;
    Substitute(*this, kSubstitutionTemp);
    ProgressBarNewFile.setPosition(ProgressBarNewFile.max());
    const std::uint64_t substituted = ui::OpenAndTakeSize(kSubstitutionTemp);
    if (substituted >= varn::kDisplayLimit) {
        Memo10.setText(varn::SizeNotice(substituted, russian()));
    } else {
        Memo10.loadFromFile(kSubstitutionTemp);
    }
}
