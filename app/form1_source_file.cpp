#include "analysis/size_notice.h"
#include "app/form1.h"
#include "io/failure.h"
#include "io/whole_file.h"
#include "text/detect_encoding.h"

namespace {

// The choices of ComboBoxEncoding, in order after "automatic".
constexpr varn::Encoding kChoices[] = {varn::Encoding::Windows1251, varn::Encoding::Utf8,
                                       varn::Encoding::Koi8r, varn::Encoding::Cp866};

}  // namespace

void TForm1::Button2Click() {
    MemoFile.clear();
    OpenDialog1.title = tr("Выбор исследуемого файла", "Choice of the under investigation file");
    // A dismissed dialog keeps its last name, which then is opened again.
    OpenDialog1.execute();
    const std::string name = OpenDialog1.fileName;
    if (name.empty()) return;
    MemoFile.addLine(name);
    // A new file is read in the encoding found in it until the user chooses another.
    state.EncodingChoice.reset();
    ComboBoxEncoding.setItemIndex(0);
    state.DetectedEncoding = varn::Encoding::Windows1251;
    state.Koi8rReadsAsWell = false;
    varn::io::TakeSize(name);
    try {
        const varn::Detection detection = varn::DetectFile(name);
        state.DetectedEncoding = detection.encoding;
        state.Koi8rReadsAsWell = detection.koi8rReadsAsWell;
    } catch (const varn::io::FileError& error) {
        // A file that cannot be read is still chosen, as before; its passes say what fails.
        if (error.failure().kind != varn::io::FailureKind::Read) throw;
    }
    ShowStudyFile();
}

void TForm1::ShowStudyFile() {
    ShowEncodingTexts();
    const std::string& name = OpenDialog1.fileName;
    if (name.empty()) return;
    const std::uint64_t size = varn::io::TakeSize(name);
    if (size >= varn::kDisplayLimit) {
        MemoSourceFile.setText(varn::SizeNotice(size, russian()));
    } else {
        ShowInFileEncoding(MemoSourceFile, varn::io::ReadWholeFile(name));
    }
}

void TForm1::ComboBoxEncodingChange() {
    const int index = ComboBoxEncoding.itemIndex();
    if (index <= 0) {
        state.EncodingChoice.reset();
    } else {
        state.EncodingChoice = kChoices[index - 1];
    }
    ShowStudyFile();
}

void TForm1::ShowEncodingTexts() {
    std::string line(tr("Кодировка:", "Encoding:"));
    if (!OpenDialog1.fileName.empty()) {
        line += std::string(" ") + EncodingName(state.FileEncoding());
        // The bytes could not tell: the list below offers the other reading.
        if (!state.EncodingChoice && state.Koi8rReadsAsWell)
            line += tr(" (или KOI8-R?)", " (or KOI8-R?)");
    }
    LabelEncoding.setText(line);
    std::vector<std::string> items{std::string(tr("Автоматически", "Automatic"))};
    for (const varn::Encoding encoding : kChoices) items.emplace_back(EncodingName(encoding));
    ComboBoxEncoding.setItems(std::move(items));
}
