#include "app/file_messages.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "io/failure.h"

namespace {

using varn::io::FailureKind;

TEST(FileMessages, UnexpectedFailuresGetTheFileLayersWords) {
    const std::pair<FailureKind, std::string> cases[] = {
        {FailureKind::Open, "Cannot open file /x/y"},
        {FailureKind::NotRegular, "Cannot open file /x/y"},
        {FailureKind::Read, "Stream read error"},
        {FailureKind::Create, "Cannot create file /x/y"},
        {FailureKind::NotReplaceable, "Cannot create file /x/y"},
        {FailureKind::Replace, "Cannot create file /x/y"},
        {FailureKind::Write, "Stream write error"},
    };
    for (const auto& [kind, text] : cases) {
        EXPECT_EQ(UnexpectedErrorText(varn::io::FileError({kind, "/x/y", EIO})), text);
    }
    EXPECT_EQ(UnexpectedErrorText(std::runtime_error("'x' is not a valid integer value")),
              "'x' is not a valid integer value");
}

TEST(FileMessages, EveryModuleMessageInBothLanguagesAndAReadFailureOfItsOwn) {
    using varn::CryptMessage;
    for (int m = 0; m <= static_cast<int>(CryptMessage::NameTooLong); ++m) {
        const MessageText text = CryptModuleText(static_cast<CryptMessage>(m));
        EXPECT_EQ(text.kind, MessageKind::ModuleError);
        EXPECT_FALSE(text.russian.empty()) << m;
        EXPECT_FALSE(text.english.empty()) << m;
    }
    const MessageText read = CryptModuleText(CryptMessage::ReadFailed);
    const MessageText write = CryptModuleText(CryptMessage::WriteFailed);
    EXPECT_NE(read.russian, write.russian);
    EXPECT_NE(read.english, write.english);
    EXPECT_EQ(write.english, "Fatal Error writing output file!!!");
    EXPECT_EQ(CryptModuleText(CryptMessage::RemoveFailed).english,
              "ERROR removing old file !!!\nEncoded data remains in temporary file ");
    EXPECT_EQ(CryptModuleText(CryptMessage::WrongPassword).russian,
              "Неверный пароль или файл повреждён.");
    EXPECT_EQ(CaesarMessageText(CaesarMessage::ReadFailed).english, read.english);
    // A file changed under a pass has the same words on both tabs.
    for (const MessageText& changed : {CaesarMessageText(CaesarMessage::FileChanged),
                                       CryptModuleText(CryptMessage::FileChanged)}) {
        EXPECT_EQ(changed.russian, "Файл изменён во время операции, ничего не заменено.");
        EXPECT_EQ(changed.english, "The file changed during the operation; nothing was replaced.");
    }
    EXPECT_EQ(CryptModuleText(CryptMessage::NameTooLong).russian,
              "Имя файла результата слишком длинное.");
    EXPECT_EQ(CryptModuleText(CryptMessage::NameTooLong).english,
              "The result file name is too long.");
}

}  // namespace
