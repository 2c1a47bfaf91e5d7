#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/form_fixture.h"

namespace {

class CaesarTab : public FormTest {
  protected:
    std::string name(const std::string& file) {
        form.MemoFile3V.setText(file);
        return file;
    }
};

TEST_F(CaesarTab, ReplaceModeEnciphersInPlaceAndDeciphersBack) {
    const std::string text = "abd xyz\r\n\xFF \x01\r\n";
    const std::string path = name(dir.write("plain.txt", text));
    press(form.ButtonEn);
    EXPECT_EQ(TempDir::read(path), "deg#{|}\r\n \x23\x01\r\n");
    EXPECT_TRUE(platform.boxes.empty()) << "replace mode shows no completion";
    press(form.ButtonDe);
    EXPECT_EQ(TempDir::read(path), text);
    EXPECT_FALSE(std::filesystem::exists("__varn__.tmp"));
}

TEST_F(CaesarTab, SeparateModeWritesTheResultFileAndSaysSo) {
    const std::string path = name(dir.write("plain.txt", "abc"));
    press(form.CheckBoxOvervriteFile3V);
    press(form.ButtonEn);
    EXPECT_EQ(TempDir::read(path), "abc");
    EXPECT_EQ(TempDir::read("__varn__.enc"), "def");
    EXPECT_EQ(lastBox().text,
              "Шифрование файла закончено.\nЗашифрованные данные в файле __varn__.enc");
    EXPECT_EQ(lastBox().title, "3V");
    EXPECT_EQ(lastBox().flags, 0u);
    english();
    name("__varn__.enc");
    press(form.ButtonDe);
    EXPECT_EQ(lastBox().text,
              "Decryption of the file is finished.\nDecrypt data in file __varn__.enc");
}

TEST_F(CaesarTab, ProgressStepsAfterEveryHundredCharactersThenFills) {
    name(dir.write("long.txt", std::string(250, 'a')));
    press(form.ButtonEn);
    EXPECT_EQ(form.ProgressBar3V.max(), 2);
    EXPECT_EQ(form.ProgressBar3V.position(), 2);
}

TEST_F(CaesarTab, MessagesOfTheFailures) {
    press(form.ButtonEn);
    EXPECT_EQ(lastBox().text, "Входной файл не указан!");
    EXPECT_EQ(lastBox().title, "Внимание");

    name(dir.file("missing.txt"));
    press(form.ButtonEn);
    EXPECT_EQ(lastBox().text, "Cannot open file " + dir.file("missing.txt") + ".");

    // A read-only file is not replaced, and no temporary is left.
    const std::string locked = name(dir.write("locked.txt", "abc"));
    ::chmod(locked.c_str(), 0444);
    platform.boxes.clear();
    english();
    press(form.ButtonEn);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, "Source file not remove!");
    EXPECT_EQ(platform.boxes[0].title, "Error");
    EXPECT_EQ(platform.boxes[0].flags, 0x30u);
    EXPECT_EQ(TempDir::read(locked), "abc");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);

    // A file that cannot be read to its end has a message of its own.
    name("/proc/self/mem");
    form.CheckBoxOvervriteFile3V.setChecked(false);
    press(form.ButtonEn);
    EXPECT_EQ(lastBox().text, "Error reading the input file!");
    russian();
    press(form.ButtonEn);
    EXPECT_EQ(lastBox().text, "Ошибка чтения входного файла!");
}

TEST_F(CaesarTab, ChoosingAFileFillsTheField) {
    platform.choose(dir.write("a.txt", ""));
    press(form.Button_OpenSkitalaFile);
    EXPECT_EQ(form.MemoFile3V.text(), dir.file("a.txt"));
    EXPECT_EQ(platform.dialogs.back().title, "Выбор шифруемого/дешифруемого файла");
    form.MemoFile3V.setText("edited");
    press(form.Button_OpenSkitalaFile);
    EXPECT_EQ(form.MemoFile3V.text(), dir.file("a.txt")) << "a cancel puts the last choice back";
}

}  // namespace
