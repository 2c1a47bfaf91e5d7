#include "app/file_messages.h"

#include "io/failure.h"

namespace {

// A failed read has words of its own, apart from the write failure.
constexpr const char* kReadFailedRussian = "Ошибка чтения входного файла!";
constexpr const char* kReadFailedEnglish = "Error reading the input file!";

constexpr const char* kChangedRussian = "Файл изменён во время операции, ничего не заменено.";
constexpr const char* kChangedEnglish =
    "The file changed during the operation; nothing was replaced.";

}  // namespace

std::string UnexpectedErrorText(const std::exception& error) {
    const auto* fileError = dynamic_cast<const varn::io::FileError*>(&error);
    if (fileError == nullptr) return error.what();
    const varn::io::Failure& failure = fileError->failure();
    switch (failure.kind) {
        case varn::io::FailureKind::Open:
        case varn::io::FailureKind::NotRegular:
            return "Cannot open file " + failure.path;
        case varn::io::FailureKind::Read:
            return "Stream read error";
        case varn::io::FailureKind::Create:
        case varn::io::FailureKind::NotReplaceable:
        case varn::io::FailureKind::Replace:
        case varn::io::FailureKind::Changed:
        case varn::io::FailureKind::NameTooLong:
            return "Cannot create file " + failure.path;
        case varn::io::FailureKind::Write:
        case varn::io::FailureKind::None:
            break;
    }
    return "Stream write error";
}

std::vector<CaesarMessage> CaesarMessages(const varn::CaesarOutcome& outcome, bool decipher,
                                          bool replace) {
    if (outcome.notWritable) return {CaesarMessage::SourceNotRemoved};
    if (outcome.notRestorable) return {CaesarMessage::NotPlainText};
    switch (outcome.failure.kind) {
        case varn::io::FailureKind::None: {
            if (replace) return {};
            const CaesarMessage done =
                decipher ? CaesarMessage::DoneDecrypt : CaesarMessage::DoneEncrypt;
            if (outcome.notPlainText) return {done, CaesarMessage::NotPlainText};
            return {done};
        }
        case varn::io::FailureKind::Read:
            return {CaesarMessage::ReadFailed};
        case varn::io::FailureKind::NotReplaceable:
        case varn::io::FailureKind::Replace:
            return {replace ? CaesarMessage::TempNotRenamedToSource
                            : CaesarMessage::TempNotRenamedToCrypt};
        case varn::io::FailureKind::Open:
        case varn::io::FailureKind::NotRegular:
            return {CaesarMessage::InputNotOpen};
        case varn::io::FailureKind::Changed:
            return {CaesarMessage::FileChanged};
        case varn::io::FailureKind::Create:
        case varn::io::FailureKind::NameTooLong:
        case varn::io::FailureKind::Write:
            break;
    }
    return {CaesarMessage::TempNotOpen};
}

MessageText CaesarMessageText(CaesarMessage message) {
    const std::string result = varn::kCaesarResultFile;
    switch (message) {
        case CaesarMessage::InputNotOpen:
            return {MessageKind::Error, "Входной файл не открыт!", "The Input file not open!"};
        case CaesarMessage::TempNotOpen:
            return {MessageKind::Error, "Временный файл не открыт!", "Temporary file not open!"};
        case CaesarMessage::SourceNotRemoved:
            return {MessageKind::Error, "Исходный файл не удалён!", "Source file not remove!"};
        case CaesarMessage::TempNotRenamedToSource:
            return {MessageKind::Error, "Временный файл не переименован в исходный!",
                    "Temporary file not rename to source file!"};
        case CaesarMessage::TempNotRenamedToCrypt:
            return {MessageKind::Error, "Временный файл не переименован в шифрованный!",
                    "Temporary file not rename to crypt - file!"};
        case CaesarMessage::ReadFailed:
            return {MessageKind::Error, kReadFailedRussian, kReadFailedEnglish};
        case CaesarMessage::FileChanged:
            return {MessageKind::Error, kChangedRussian, kChangedEnglish};
        case CaesarMessage::NotPlainText:
            return {MessageKind::Warning,
                    "Файл не является текстом: после шифрования он не восстановится.",
                    "The file is not a plain text: it would not come back after deciphering."};
        case CaesarMessage::DoneEncrypt:
            return {MessageKind::CaesarNotice,
                    "Шифрование файла закончено.\nЗашифрованные данные в файле " + result,
                    "Encryption of the file is finished.\nEncrypt data in file " + result};
        case CaesarMessage::DoneDecrypt:
            return {MessageKind::CaesarNotice,
                    "Расшифрование файла закончено.\nРасшифрованные данные в файле " + result,
                    "Decryption of the file is finished.\nDecrypt data in file " + result};
    }
    return {MessageKind::Error, "", ""};
}

MessageText CryptModuleText(varn::CryptMessage message) {
    using varn::CryptMessage;
    const MessageKind kind = MessageKind::ModuleError;
    switch (message) {
        case CryptMessage::WriteFailed:
            return {kind, "Неисправимая ошибка записи в выходной файл!!!",
                    "Fatal Error writing output file!!!"};
        case CryptMessage::OverwriteFailed:
            return {kind, "Ошибка перезаписи старого файла, безопасность под вопросом.",
                    "Error overwriting old file, security compromised."};
        case CryptMessage::RemoveFailed:
            return {kind,
                    "Ошибка удаления старого файла !!!\nОстатки зашифрованных данных во "
                    "временном файле.",
                    "ERROR removing old file !!!\nEncoded data remains in temporary file "};
        case CryptMessage::RenameFailed:
            return {kind, "ОШИБКА переименовывания временного файла!!!",
                    "ERROR renaming temporary file !!!"};
        case CryptMessage::TooLarge:
            return {kind, "Файл слишком велик для шифрования (2 ГБ и более).",
                    "File is too large for encryption (2 GB or more)."};
        case CryptMessage::NotEncrypted:
            return {kind, "Файл не зашифрован или повреждён.",
                    "The file is not encrypted or is damaged."};
        case CryptMessage::ReadFailed:
            return {kind, kReadFailedRussian, kReadFailedEnglish};
        case CryptMessage::WrongPassword:
            return {kind, "Неверный пароль или файл повреждён.",
                    "Wrong password or the file is damaged."};
        case CryptMessage::FileChanged:
            return {kind, kChangedRussian, kChangedEnglish};
        case CryptMessage::NameTooLong:
            return {kind, "Имя файла результата слишком длинное.",
                    "The result file name is too long."};
    }
    return {kind, "", ""};
}

MessageText CryptOpenFailureText(varn::CryptOutcome outcome, bool decrypt) {
    const MessageKind kind = decrypt ? MessageKind::Error : MessageKind::PlainError;
    if (outcome == varn::CryptOutcome::TempFailed) {
        return {kind, "Ошибка открытия временного файла.",
                "The Error of the opening of the temporary file."};
    }
    return {kind, "Ошибка открытия файла.", "The Error of the opening of the file."};
}

MessageText SubstitutionFailureText(varn::io::FailureKind kind) {
    if (kind == varn::io::FailureKind::Open || kind == varn::io::FailureKind::NotRegular) {
        return {MessageKind::Error, "Входной файл не открыт.", "The Input file not open."};
    }
    return {MessageKind::Error, "Выходной файл не создан.", "The Output file is not created."};
}

void ShowMessageText(TForm1& form, const MessageText& message) {
    form.ShowMessage(message.kind, message.russian, message.english);
}
