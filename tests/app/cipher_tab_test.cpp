#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/form_fixture.h"

namespace {

class CipherTab : public FormTest {
  protected:
    std::string file(const std::string& bytes, const std::string& name = "secret.txt") {
        const std::string path = dir.write(name, bytes);
        form.MemoIdeaFile.setText(path);
        return path;
    }
    void passwords(const std::string& a, const std::string& b = "", const std::string& c = "") {
        form.EditPassWordIdea.setText(a);
        form.EditPassWordIdea2.setText(b);
        form.EditPassWordIdea3.setText(c);
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
