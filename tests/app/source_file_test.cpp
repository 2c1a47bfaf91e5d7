#include <gtest/gtest.h>

#include "tests/support/form_fixture.h"

namespace {

using SourceFile = FormTest;

TEST_F(SourceFile, ShowsAFileBelowTheLimitAndTheNoticeFromTheLimitOn) {
    const std::string small = dir.write("small.txt", std::string(65534, 'a'));
    const std::string large = dir.write("large.txt", std::string(65535, 'b'));
    platform.choose(small);
    press(form.Button2);
    EXPECT_EQ(form.MemoFile.text(), small + "\r\n");
    EXPECT_EQ(form.MemoSourceFile.text().size(), 65534u);
    EXPECT_EQ(platform.dialogs.back().title, "Выбор исследуемого файла");
    platform.choose(large);
    press(form.Button2);
    EXPECT_EQ(form.MemoSourceFile.text(), "Размер файла больше 0xFFFF байт : 65535 байт");
    english();
    platform.choose(large);
    press(form.Button2);
    EXPECT_EQ(form.MemoSourceFile.text(), "File size > 0xFFFF : 65535 b");
    EXPECT_EQ(platform.dialogs.back().title, "Choice of the under investigation file");
}

TEST_F(SourceFile, SizesAboveTwoToTheTwentyFourPrintExactly) {
    const std::string path = dir.file("sparse.bin");
    std::filesystem::resize_file(dir.write("sparse.bin", ""), 16'777'217);
    platform.choose(path);
    press(form.Button2);
    EXPECT_EQ(form.MemoSourceFile.text(), "Размер файла больше 0xFFFF байт : 16777217 байт");
}

TEST_F(SourceFile, ADismissedDialogRepeatsTheLastChoice) {
    press(form.Button2);
    EXPECT_EQ(form.MemoFile.text(), "");
    EXPECT_EQ(form.OpenDialog1.fileName, "");
    const std::string a = dir.write("a.txt", "first\nsecond");
    platform.choose(a);
    press(form.Button2);
    form.MemoSourceFile.setText("something else");
    press(form.Button2);
    EXPECT_EQ(form.MemoFile.text(), a + "\r\n");
    EXPECT_EQ(form.MemoSourceFile.text(), "first\r\nsecond");
}

TEST_F(SourceFile, AFileThatCannotBeOpenedKeepsTheOldTextAndReports) {
    platform.choose(dir.write("a.txt", "old"));
    press(form.Button2);
    std::filesystem::create_directory(dir.file("folder"));
    platform.choose(dir.file("folder"));
    press(form.Button2);
    EXPECT_EQ(lastBox().text, "Cannot open file " + dir.file("folder") + ".");
    EXPECT_EQ(lastBox().title, "Ostrel Varn 3.8");
    EXPECT_EQ(form.MemoSourceFile.text(), "old");
    EXPECT_EQ(form.OpenDialog1.fileName, dir.file("folder")) << "the choice is already made";
}

}  // namespace
