#include <gtest/gtest.h>
#include <sys/stat.h>

#include <optional>
#include <string>
#include <vector>

#include "crypt/crypt_operation.h"
#include "tests/support/form_fixture.h"

namespace {

class CipherTab : public FormTest {
  protected:
    std::string file(const std::string& bytes, const std::string& name = "secret.txt") {
        const std::string path = dir.write(name, bytes);
        form.MemoIdeaFile.setText(path);
        return path;
    }
    // Fills the fields; an encryption in place will be answered with the same passwords again.
    void passwords(const std::string& a, const std::string& b = "", const std::string& c = "") {
        form.EditPassWordIdea.setText(a);
        form.EditPassWordIdea2.setText(b);
        form.EditPassWordIdea3.setText(c);
        platform.passwords.clear();
        for (const std::string* p : {&a, &b, &c})
            if (!p->empty()) platform.passwords.emplace_back(*p);
    }
    void tripleMode() { press(form.CheckBox3Idea); }
};

TEST_F(CipherTab, EncryptsInPlaceWithACyrillicPasswordAndDecryptsBack) {
    const std::string path = file("hello");
    passwords("пароль");
    press(form.Button_EnCrypt);
    EXPECT_EQ(lastBox().text, "Шифрование файла закончено.");
    EXPECT_EQ(lastBox().title, "");
    EXPECT_EQ(lastBox().flags, 0u);
    const std::string encrypted = TempDir::read(path);
    ASSERT_EQ(encrypted.size(), 12u);
    EXPECT_EQ(encrypted.substr(0, 4), std::string("\x05\0\0\0", 4));
    english();
    press(form.Button_DeCrypt);
    EXPECT_EQ(lastBox().text, "Decryption of the file is finished.");
    EXPECT_EQ(TempDir::read(path), "hello");
    EXPECT_FALSE(std::filesystem::exists("tempfile.dnc"));
}

// Encrypting in place leaves no plain copy: every password is asked once more, and a mismatch or
// a cancel leaves the file as it was. Decryption and an encryption into NAME.enc do not ask.
TEST_F(CipherTab, EncryptionInPlaceAsksForThePasswordsOnceMore) {
    const struct {
        bool triple;
        std::vector<std::optional<std::string>> typedAgain;
        std::size_t questions;
        bool encrypted;
        const char* box;
    } cases[] = {
        {false, {"пароль"}, 1, true, "Шифрование файла закончено."},
        {false, {"парол"}, 1, false, "Пароли не совпадают. Файл не изменён."},
        {false, {std::nullopt}, 1, false, nullptr},
        {true, {"a", "b", "c"}, 3, true, "Шифрование файла закончено."},
        {true, {"a", "x", "c"}, 2, false, "Пароли не совпадают. Файл не изменён."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.questions);
        const std::string path = file("hello");
        form.CheckBox3Idea.setChecked(c.triple);
        form.CheckBoxOwer.setChecked(true);
        if (c.triple) {
            passwords("a", "b", "c");
        } else {
            passwords("пароль");
        }
        platform.passwords.assign(c.typedAgain.begin(), c.typedAgain.end());
        platform.passwordQuestions.clear();
        platform.boxes.clear();
        press(form.Button_EnCrypt);
        EXPECT_EQ(platform.passwordQuestions.size(), c.questions);
        EXPECT_EQ(TempDir::read(path) != "hello", c.encrypted);
        if (c.box) {
            ASSERT_EQ(platform.boxes.size(), 1u);
            EXPECT_EQ(lastBox().text, c.box);
        } else {
            EXPECT_TRUE(platform.boxes.empty());
        }
    }
    EXPECT_EQ(platform.passwordQuestions.front(), "Введите пароль 1 ещё раз:");

    const std::string path = file("hello");
    form.CheckBox3Idea.setChecked(false);
    passwords("пароль");
    form.CheckBoxOwer.setChecked(false);
    platform.passwordQuestions.clear();
    press(form.Button_EnCrypt);
    form.MemoIdeaFile.setText(varn::CryptEncName(path));
    form.CheckBoxOwer.setChecked(true);
    press(form.Button_DeCrypt);
    EXPECT_TRUE(platform.passwordQuestions.empty());
    EXPECT_EQ(lastBox().text, "Дешифрование файла закончено.");
}

TEST_F(CipherTab, ValidationInOrder) {
    press(form.Button_EnCrypt);
    EXPECT_EQ(lastBox().text, "Задайте пароль.");
    EXPECT_EQ(lastBox().title, "Внимание");
    tripleMode();
    passwords("a", "b", "");
    platform.boxes.clear();
    press(form.Button_EnCrypt);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(lastBox().text, "Задайте пароль.");
    passwords("a", "123456789", "c");
    press(form.Button_DeCrypt);
    EXPECT_EQ(lastBox().text, "Пароль не должен быть длиннее 8 символов.");
    passwords("a", "b", "c");
    english();
    press(form.Button_EnCrypt);
    EXPECT_EQ(lastBox().text, "Indicate the file.");
    EXPECT_EQ(lastBox().title, "Attention");
}

TEST_F(CipherTab, TripleModeRoundTripAndEqualPasswordsAccepted) {
    const std::string text(1000, 'x');
    const std::string path = file(text);
    tripleMode();
    EXPECT_TRUE(form.EditPassWordIdea2.visible() && form.EditPassWordIdea3.enabled());
    passwords("one", "two", "three");
    press(form.Button_EnCrypt);
    EXPECT_EQ(lastBox().text, "Шифрование файла закончено.");
    const std::string layered = TempDir::read(path);
    EXPECT_EQ(layered.size(),
              4u + 8u * ((4u + 8u * ((4u + 8u * (1000u / 8 + 1)) / 8 + 1)) / 8 + 1));

    // A single pass with any one of them does not undo it.
    press(form.CheckBox3Idea);
    EXPECT_FALSE(form.EditPassWordIdea2.visible() || form.EditPassWordIdea2.enabled());
    EXPECT_EQ(form.EditPassWordIdea2.text(), "two") << "hidden fields keep their text";
    press(form.Button_DeCrypt);
    EXPECT_NE(TempDir::read(path), text);
    file(layered);

    tripleMode();
    press(form.Button_DeCrypt);
    EXPECT_EQ(TempDir::read(path), text);

    passwords("same", "same", "same");
    press(form.Button_EnCrypt);
    EXPECT_EQ(lastBox().text, "Шифрование файла закончено.");
}

TEST_F(CipherTab, AWrongThirdPasswordLeavesTheFileAsItWas) {
    const std::string path = file("some plain text");
    tripleMode();
    passwords("one", "two", "three");
    press(form.Button_EnCrypt);
    const std::string encrypted = TempDir::read(path);
    passwords("one", "two", "thr33");
    platform.boxes.clear();
    press(form.Button_DeCrypt);
    EXPECT_EQ(TempDir::read(path), encrypted);
    ASSERT_FALSE(platform.boxes.empty());
    EXPECT_EQ(lastBox().title, "Error CryptModul");
    EXPECT_EQ(lastBox().flags, 0x30u);
}

TEST_F(CipherTab, BesideTheFileUnderTheEncNameAndNeverOverAnExistingOne) {
    const std::string path = file("abc", "report.v1.txt");
    press(form.CheckBoxOwer);
    passwords("key");
    press(form.Button_EnCrypt);
    EXPECT_EQ(TempDir::read(path), "abc");
    const std::string enc = dir.file("report.enc");
    const std::string first = TempDir::read(enc);
    EXPECT_EQ(first.size(), 12u);
    platform.boxes.clear();
    passwords("other");
    press(form.Button_EnCrypt);
    ASSERT_EQ(platform.boxes.size(), 1u) << "a failed move claims no completion";
    EXPECT_EQ(lastBox().text, "ОШИБКА переименовывания временного файла!!!");
    EXPECT_EQ(TempDir::read(enc), first);
}

TEST_F(CipherTab, AReadOnlyFileIsRefusedInBothDirections) {
    const std::string path = file("abc");
    ::chmod(path.c_str(), 0444);
    passwords("key");
    press(form.Button_EnCrypt);
    EXPECT_EQ(lastBox().text, "Ошибка открытия файла.");
    EXPECT_EQ(lastBox().title, "Error");
    EXPECT_EQ(lastBox().flags, 0u);
    press(form.Button_DeCrypt);
    EXPECT_EQ(lastBox().text, "Ошибка открытия файла.");
    EXPECT_EQ(lastBox().flags, 0x30u);
    EXPECT_EQ(TempDir::read(path), "abc");
}

TEST_F(CipherTab, ChoosingAFileAndTheTripleSwitch) {
    platform.choose(dir.write("a.bin", "x"));
    press(form.Button_OpenFile);
    EXPECT_EQ(form.MemoIdeaFile.text(), dir.file("a.bin"));
    EXPECT_EQ(platform.dialogs.back().title, "Выбор шифруемого/дешифруемого файла");
    press(form.CheckBoxOwer);
    EXPECT_FALSE(form.CheckBoxOwer.checked());
    tripleMode();
    EXPECT_TRUE(form.CheckBoxOwer.checked());
    press(form.CheckBox3Idea);
    EXPECT_TRUE(form.CheckBoxOwer.checked());
}

}  // namespace
