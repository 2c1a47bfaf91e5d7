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
        case varn::io::FailureKind::Cancelled:
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
        case varn::io::FailureKind::Cancelled:  // ends the handler before (EndIfCancelled)
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

namespace {

// The words of the file encryption module ("Error CryptModul").
MessageText ModuleText(const char* russian, const char* english) {
    return {MessageKind::ModuleError, russian, english};
}

MessageText OpenFailureText(const char* russian, const char* english, bool decrypt) {
    return {decrypt ? MessageKind::Error : MessageKind::PlainError, russian, english};
}

MessageText CryptFailureText(const varn::io::Failure& failure, bool decrypt) {
    switch (failure.kind) {
        case varn::io::FailureKind::Open:
        case varn::io::FailureKind::NotRegular:
            return OpenFailureText("Ошибка открытия файла.",
                                   "The Error of the opening of the file.", decrypt);
        case varn::io::FailureKind::Create:
        case varn::io::FailureKind::NotReplaceable:
            return OpenFailureText("Ошибка открытия временного файла.",
                                   "The Error of the opening of the temporary file.", decrypt);
        case varn::io::FailureKind::Read:
        case varn::io::FailureKind::Cancelled:  // ends the handler before (EndIfCancelled)
            return ModuleText(kReadFailedRussian, kReadFailedEnglish);
        case varn::io::FailureKind::Replace:
            return ModuleText("ОШИБКА переименовывания временного файла!!!",
                              "ERROR renaming temporary file !!!");
        case varn::io::FailureKind::Changed:
            return ModuleText(kChangedRussian, kChangedEnglish);
        case varn::io::FailureKind::NameTooLong:
            return ModuleText("Имя файла результата слишком длинное.",
                              "The result file name is too long.");
        case varn::io::FailureKind::Write:
        case varn::io::FailureKind::None:
            break;
    }
    return ModuleText("Неисправимая ошибка записи в выходной файл!!!",
                      "Fatal Error writing output file!!!");
}

}  // namespace

std::vector<MessageText> CryptResultTexts(const varn::CryptResult& result, bool decrypt) {
    switch (result.refusal) {
        case varn::CryptRefusal::TooLarge:
            return {ModuleText("Файл слишком велик для шифрования (2 ГБ и более).",
                               "File is too large for encryption (2 GB or more).")};
        case varn::CryptRefusal::NotEncrypted:
            return {ModuleText("Файл не зашифрован или повреждён.",
                               "The file is not encrypted or is damaged.")};
        case varn::CryptRefusal::WrongPassword:
            return {ModuleText("Неверный пароль или файл повреждён.",
                               "Wrong password or the file is damaged.")};
        case varn::CryptRefusal::None:
            break;
    }
    if (result.failure) return {CryptFailureText(result.failure, decrypt)};
    if (result.wipe) {
        return {ModuleText("Ошибка перезаписи старого файла, безопасность под вопросом.",
                           "Error overwriting old file, security compromised.")};
    }
    return {};
}

MessageText SubstitutionFailureText(varn::io::FailureKind kind) {
    if (kind == varn::io::FailureKind::Open || kind == varn::io::FailureKind::NotRegular) {
        return {MessageKind::Error, "Входной файл не открыт.", "The Input file not open."};
    }
    if (kind == varn::io::FailureKind::Changed) {
        return {MessageKind::Error, kChangedRussian, kChangedEnglish};
    }
    return {MessageKind::Error, "Выходной файл не создан.", "The Output file is not created."};
}

void EndIfCancelled(const varn::io::Failure& failure) {
    if (failure.kind == varn::io::FailureKind::Cancelled) throw varn::io::FileError(failure);
}

void ShowMessageText(TForm1& form, const MessageText& message) {
    form.ShowMessage(message.kind, message.russian, message.english);
}
