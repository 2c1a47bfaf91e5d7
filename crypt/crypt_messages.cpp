#include "crypt/crypt_messages.h"

namespace varn {

const CryptMessageTexts kCryptMessageTable[6] = {
    {CryptMessage::WriteFailed, "Неисправимая ошибка записи в выходной файл!!!",
     "Fatal Error writing output file!!!"},
    {CryptMessage::OverwriteFailed, "Ошибка перезаписи старого файла, безопасность под вопросом.",
     "Error overwriting old file, security compromised."},
    {CryptMessage::RemoveFailed,
     "Ошибка удаления старого файла !!!\nОстатки зашифрованных данных во временном файле.",
     "ERROR removing old file !!!\nEncoded data remains in temporary file "},
    {CryptMessage::RenameFailed, "ОШИБКА переименовывания временного файла!!!",
     "ERROR renaming temporary file !!!"},
    {CryptMessage::TooLarge, "Файл слишком велик для шифрования (2 ГБ и более).",
     "File is too large for encryption (2 GB or more)."},
    {CryptMessage::NotEncrypted, "Файл не зашифрован или повреждён.",
     "The file is not encrypted or is damaged."},
};

std::string_view CryptMessageText(CryptMessage message, bool russian) {
    const CryptMessageTexts& t = kCryptMessageTable[static_cast<int>(message)];
    return russian ? t.russian : t.english;
}

}  // namespace varn
