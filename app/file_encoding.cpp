// Texts the frequency tabs read and write, in the encoding of the file under study.
#include "app/form1.h"
#include "text/dos_text.h"
#include "text/encoding.h"

namespace {

// Nothing is written rather than a character lost.
void WarnMissing(TForm1& form, const std::string& missing) {
    const std::string name = varn::EncodingName(form.state.FileEncoding());
    form.ShowMessage(MessageKind::Warning,
                     "Кодировка файла " + name + " не может передать символы: " + missing +
                         "\nНичего не записано.",
                     "The file's encoding " + name + " cannot hold the characters: " + missing +
                         "\nNothing was written.");
}

}  // namespace

void TForm1::ShowInFileEncoding(ui::Memo& memo, std::string bytes) {
    const varn::Encoding encoding = state.FileEncoding();
    if (encoding == varn::Encoding::Windows1251) {
        memo.loadFromBytes(std::move(bytes));
    } else {
        memo.loadFromText(varn::TextToUtf8(bytes, encoding));
    }
}

bool TForm1::LinesInFileEncoding(std::initializer_list<const ui::Memo*> memos, std::string& bytes) {
    const varn::Encoding encoding = state.FileEncoding();
    bytes.clear();
    std::string missing;
    for (const ui::Memo* memo : memos) {
        if (encoding == varn::Encoding::Windows1251) {
            bytes += memo->linesAsFileBytes();
            continue;
        }
        for (const std::string& line : memo->lines()) {
            std::string lost;
            bytes += varn::Utf8ToText(line, encoding, lost);
            bytes += "\r\n";
            if (missing.find(lost) == std::string::npos) missing += lost;
        }
    }
    if (missing.empty()) return true;
    WarnMissing(*this, missing);
    return false;
}

bool TForm1::KeyFitsFileEncoding(const std::array<unsigned char, 256>& map) {
    const std::string missing = varn::MissingCharacters(map, state.FileEncoding());
    if (missing.empty()) return true;
    WarnMissing(*this, missing);
    return false;
}
