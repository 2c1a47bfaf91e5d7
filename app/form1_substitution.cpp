#include <sys/stat.h>

#include "analysis/replace_letters.h"
#include "analysis/size_notice.h"
#include "app/file_messages.h"
#include "app/form1.h"
#include "io/file_reader.h"
#include "io/open_file.h"
#include "io/temporary_file.h"
#include "io/whole_file.h"
#include "ui/cp1251.h"

namespace {

// "In window" substitutes into a temporary of its own in the current folder:
// "__varn__.tmp.<random>", created exclusively and removed at the end.
constexpr const char* kSubstitutionTempPrefix = "__varn__.tmp";

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
    const std::uint64_t size = varn::io::TakeSize(form.OpenDialog1.fileName);
    form.ProgressBarNewFile.setMax(static_cast<std::int64_t>(size / 100));
    form.ProgressBarNewFile.setPosition(0);
    return size;
}

// The letter table of the pass, counted apart: the form takes it only once the pass is done.
varn::LetterTable CountForSubstitution(TForm1& form) {
    return form.CountStudyFileOnStandard(ui::EncodeCp1251(form.Memo1.text())).table;
}

// Reports the engine's result: a file that cannot be opened or created in a box, the other
// failures as errors that end the handler. True when the whole output was written.
bool Report(TForm1& form, const varn::io::Failure& failure) {
    switch (failure.kind) {
        case varn::io::FailureKind::None:
            return true;
        case varn::io::FailureKind::Open:
        case varn::io::FailureKind::NotRegular:
        case varn::io::FailureKind::Create:
        case varn::io::FailureKind::NameTooLong:
        case varn::io::FailureKind::NotReplaceable:
        case varn::io::FailureKind::Changed:
            ShowMessageText(form, SubstitutionFailureText(failure.kind));
            return false;
        case varn::io::FailureKind::Read:
        case varn::io::FailureKind::Write:
        case varn::io::FailureKind::Replace:
        case varn::io::FailureKind::Cancelled:
            break;
    }
    throw varn::io::FileError(failure);
}

// The pass reads and writes the file under study in its encoding.
varn::DosTextOptions InFileEncoding(const TForm1& form) {
    varn::DosTextOptions options;
    options.encoding = form.state.FileEncoding();
    return options;
}

// The key of the count, writing capitals' partners as capitals when "Keep case" is ticked.
varn::ByteMap SubstitutionKey(const TForm1& form, const varn::LetterTable& table) {
    return varn::SubstitutionMap(table, form.CheckBoxKeepCase.checked()
                                            ? varn::CapitalPartner::Capital
                                            : varn::CapitalPartner::AsInStandard);
}

varn::ProgressAdvance SubstitutionAdvance(TForm1& form) {
    return [&form](std::uint64_t steps) {
        form.ProgressBarNewFile.stepBy(static_cast<std::int64_t>(steps));
    };
}

}  // namespace

void TForm1::ButtonNewFileClick() {
    if (!CheckInputs(*this)) return;
    PrepareSubstitutionBar(*this);
    const std::string source = OpenDialog1.fileName;
    SaveDialogNewFile.title = tr("Создание нового файла", "Create new file");
    SaveDialogNewFile.fileName = source;
    if (!SaveDialogNewFile.execute()) return;
    const std::string output = SaveDialogNewFile.fileName;
    // The output must not be the file under study under any spelling: the input is never a
    // target.
    if (output.empty() || output == source || varn::io::SameFile(output, source)) return;
    varn::LetterTable table = CountForSubstitution(*this);
    const varn::ByteMap map = SubstitutionKey(*this, table);
    if (!KeyFitsFileEncoding(map)) return;
    // The chosen file is replaced only by a complete result, keeping its permission bits.
    if (!Report(*this,
                varn::TranslateDosText(source, output, map, varn::ProgressRule::AdvanceBefore,
                                       SubstitutionAdvance(*this), InFileEncoding(*this)))) {
        return;
    }
    state.LetterTable = std::move(table);
}

void TForm1::Button_VOknoClick() {
    if (!CheckInputs(*this)) return;
    const std::uint64_t size = PrepareSubstitutionBar(*this);
    if (size >= varn::kDisplayLimit) {
        Memo10.setText(varn::SizeNotice(size, russian()));
        return;
    }
    // The count leaves both of its bars at their maximum.
    varn::LetterTable table = CountForSubstitution(*this);
    const varn::ByteMap map = SubstitutionKey(*this, table);
    if (!KeyFitsFileEncoding(map)) return;
    const std::string& source = OpenDialog1.fileName;
    varn::io::Failure failure;
    const varn::InputFile input(source);
    if (!input.IsOpen()) {
        Report(*this, input.Failure());
        return;
    }
    varn::io::TemporaryFile substituted;
    if (!substituted.Create(".", kSubstitutionTempPrefix, failure)) {
        Report(*this, failure);
        return;
    }
    failure =
        varn::TranslateDosText(input, substituted.fd(), map, varn::ProgressRule::AdvanceBefore,
                               SubstitutionAdvance(*this), InFileEncoding(*this));
    if (failure.kind == varn::io::FailureKind::Write) failure.path = substituted.path();
    // Gone before the user reads why: nothing of a failed pass outlives its message.
    if (failure) substituted.Remove();
    if (!Report(*this, failure)) return;
    ProgressBarNewFile.setPosition(ProgressBarNewFile.max());
    struct stat info {};
    if (::fstat(substituted.fd(), &info) != 0) {
        throw varn::io::FileError(
            varn::io::FailureNow(varn::io::FailureKind::Read, substituted.path()));
    }
    const auto substitutedSize = static_cast<std::uint64_t>(info.st_size);
    if (substitutedSize >= varn::kDisplayLimit) {
        Memo10.setText(varn::SizeNotice(substitutedSize, russian()));
    } else {
        ShowInFileEncoding(Memo10,
                           varn::io::ReadWholeDescriptor(substituted.fd(), substituted.path()));
    }
    state.LetterTable = std::move(table);
}
