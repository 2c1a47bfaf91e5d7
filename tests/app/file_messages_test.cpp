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

TEST(FileMessages, EveryCipherResultHasTheTabsWordsInBothLanguages) {
    using varn::CryptRefusal;
    using varn::CryptResult;
    const varn::io::Failure none;
    const struct {
        CryptResult result;
        MessageKind kind;
        std::string english;
    } cases[] = {
        {{CryptRefusal::TooLarge, none, none},
         MessageKind::ModuleError,
         "File is too large for encryption (2 GB or more)."},
        {{CryptRefusal::NotEncrypted, none, none},
         MessageKind::ModuleError,
         "The file is not encrypted or is damaged."},
        {{CryptRefusal::WrongPassword, none, none},
         MessageKind::ModuleError,
         "Wrong password or the file is damaged."},
        {{CryptRefusal::None, {FailureKind::Open, "f", EACCES}, none},
         MessageKind::Error,
         "The Error of the opening of the file."},
        {{CryptRefusal::None, {FailureKind::NotRegular, "f", 0}, none},
         MessageKind::Error,
         "The Error of the opening of the file."},
        {{CryptRefusal::None, {FailureKind::Create, "t", EROFS}, none},
         MessageKind::Error,
         "The Error of the opening of the temporary file."},
        {{CryptRefusal::None, {FailureKind::Read, "f", EIO}, none},
         MessageKind::ModuleError,
         "Error reading the input file!"},
        {{CryptRefusal::None, {FailureKind::Write, "t", ENOSPC}, none},
         MessageKind::ModuleError,
         "Fatal Error writing output file!!!"},
        {{CryptRefusal::None, {FailureKind::Replace, "f.enc", EEXIST}, none},
         MessageKind::ModuleError,
         "ERROR renaming temporary file !!!"},
        {{CryptRefusal::None, none, {FailureKind::Write, "f", EIO}},
         MessageKind::ModuleError,
         "Error overwriting old file, security compromised."},
    };
    for (const auto& c : cases) {
        const std::vector<MessageText> texts = CryptResultTexts(c.result, true);
        ASSERT_EQ(texts.size(), 1u) << c.english;
        EXPECT_EQ(texts[0].kind, c.kind) << c.english;
        EXPECT_EQ(texts[0].english, c.english);
        EXPECT_FALSE(texts[0].russian.empty()) << c.english;
    }
    // Encryption's open failures are plain error boxes; a result that is done says nothing here.
    EXPECT_EQ(
        CryptResultTexts({CryptRefusal::None, {FailureKind::Open, "f", 0}, none}, false)[0].kind,
        MessageKind::PlainError);
    EXPECT_TRUE(CryptResultTexts({}, false).empty());
    EXPECT_EQ(CryptResultTexts({CryptRefusal::WrongPassword, none, none}, true)[0].russian,
              "Неверный пароль или файл повреждён.");
    EXPECT_EQ(CaesarMessageText(CaesarMessage::ReadFailed).english,
              "Error reading the input file!");
    // A file changed under a pass has the same words on both tabs.
    for (const MessageText& changed :
         {CaesarMessageText(CaesarMessage::FileChanged),
          CryptResultTexts({CryptRefusal::None, {FailureKind::Changed, "f", 0}, none}, true)[0]}) {
        EXPECT_EQ(changed.russian, "Файл изменён во время операции, ничего не заменено.");
        EXPECT_EQ(changed.english, "The file changed during the operation; nothing was replaced.");
    }
}

}  // namespace
