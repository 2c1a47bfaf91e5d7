#include "app/form1.h"

namespace {

struct KindLook {
    const char* russianTitle;
    const char* englishTitle;
    unsigned flags;
};

KindLook LookOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::Warning:
            return {"Внимание", "Attention", ui::MB_OK | ui::MB_ICONQUESTION};
        case MessageKind::Error:
            return {"Error", "Error", ui::MB_OK | ui::MB_ICONEXCLAMATION};
        case MessageKind::PlainError:
            return {"Error", "Error", ui::MB_OK};
        case MessageKind::ModuleError:
            return {"Error CryptModul", "Error CryptModul", ui::MB_OK | ui::MB_ICONEXCLAMATION};
        case MessageKind::Notice:
            return {"", "", ui::MB_OK};
        case MessageKind::CaesarNotice:
            return {"3V", "3V", ui::MB_OK};
    }
    return {"", "", ui::MB_OK};
}

}  // namespace

void TForm1::ShowMessage(MessageKind kind, std::string_view russian, std::string_view english) {
    const KindLook look = LookOf(kind);
    const bool ru = this->russian();
    platform.messageBox(std::string(ru ? russian : english),
                        ru ? look.russianTitle : look.englishTitle, look.flags);
}
