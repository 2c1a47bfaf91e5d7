#include <gtest/gtest.h>

#include "tests/support/form_fixture.h"

namespace {

class Substitution : public FormTest {
  protected:
    std::string inWindow() {
        press(form.Button_VOkno);
        return form.Memo10.text();
    }
};

TEST_F(Substitution, InWindowReplacesPairedLettersAndFoldsTheRest) {
    study("ABBA e!\r\nZ");
    form.Memo1.setText("ba");
    EXPECT_EQ(inWindow(), "baab e!\r\nz");
    EXPECT_FALSE(std::filesystem::exists("__varn__.tmp"));
    EXPECT_EQ(form.ProgressBarNewFile.position(), form.ProgressBarNewFile.max());
}

struct DosCase {
    std::string input;
    std::string shown;
};

TEST_F(Substitution, DosTextModeOfTheEngine) {
    const DosCase cases[] = {
        {"ab\rd", "abd"},
        {"ab\x1A"
         "cd",
         "ab"},
        {"a\nb", "a\r\nb"},
        {"", ""},
    };
    form.Memo1.setText("xyz");
    for (const DosCase& c : cases) {
        study(c.input);
        EXPECT_EQ(inWindow(), c.shown) << c.input;
    }
}

TEST_F(Substitution, WindowLimitBeforeAndAfterSubstitution) {
    form.Memo1.setText("ab");
    study(std::string(65534, 'a'));
    EXPECT_EQ(inWindow().size(), 65534u);
    study(std::string(65535, 'a'));
    EXPECT_EQ(inWindow(), "Размер файла больше 0xFFFF байт : 65535 байт");
    // Bare LF line ends grow to CR LF: below the limit before, above it after.
    std::string lines(65530, 'a');
    for (int i = 0; i < 5; ++i) lines[i * 1000] = '\n';
    study(lines);
    english();
    EXPECT_EQ(inWindow(), "File size > 0xFFFF : 65535 b");
}

TEST_F(Substitution, CreateWritesTheNewFileAndStopsTheBarWhereTheEngineLeftIt) {
    std::string text(1000, 'A');
    text[150] = '\x1A';
    const std::string source = study(text);
    form.Memo1.setText("qa");
    platform.choose(dir.file("out.txt"));
    press(form.ButtonNewFile);
    EXPECT_EQ(platform.dialogs.back().title, "Создание нового файла");
    EXPECT_EQ(platform.dialogs.back().fileName, source) << "the dialog offers the file under study";
    EXPECT_EQ(TempDir::read(dir.file("out.txt")), std::string(150, 'q'));
    EXPECT_EQ(form.ProgressBarNewFile.max(), 10);
    EXPECT_EQ(form.ProgressBarNewFile.position(), 2);
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(Substitution, CreateRefusesTheFileUnderStudyUnderAnySpellingAndACancel) {
    const std::string source = study("abc");
    form.Memo1.setText("ba");
    std::filesystem::create_symlink(source, dir.file("link.txt"));
    std::filesystem::create_directory(dir.file("sub"));
    for (const std::string& output : {source, std::string("study.txt"),
                                      std::string("./sub/../study.txt"), dir.file("link.txt")}) {
        platform.choose(output);
        press(form.ButtonNewFile);
        EXPECT_EQ(TempDir::read(source), "abc") << output;
    }
    form.SaveDialogNewFile.fileName = dir.file("other.txt");
    platform.cancel();
    press(form.ButtonNewFile);
    EXPECT_FALSE(std::filesystem::exists(dir.file("other.txt")));
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(form.ProgressBar1.position(), 0) << "no count ran";
}

TEST_F(Substitution, MessagesOfEachFailure) {
    press(form.ButtonNewFile);
    EXPECT_EQ(lastBox().text, "Имя входного файла не задано.");
    press(form.Button_VOkno);
    EXPECT_EQ(lastBox().text, "Имя входного файла не задано.");
    study("abc");
    english();
    press(form.Button_VOkno);
    EXPECT_EQ(lastBox().text, "Not standard is given.");
    EXPECT_EQ(lastBox().title, "Attention");

    form.Memo1.setText("ab");
    std::filesystem::create_directory(dir.file("folder"));
    platform.choose(dir.file("folder"));
    press(form.ButtonNewFile);
    EXPECT_EQ(lastBox().text, "The Output file is not created.");
    EXPECT_EQ(lastBox().title, "Error");
    EXPECT_EQ(lastBox().flags, 0x30u);

    platform.choose("/dev/full");
    press(form.ButtonNewFile);
    EXPECT_EQ(lastBox().text, "The Output file is not created.");

    // A failed read and a failed write each end the pass with their own words.
    form.OpenDialog1.fileName = "/proc/self/mem";
    platform.choose(dir.file("out.txt"));
    press(form.ButtonNewFile);
    EXPECT_EQ(lastBox().text, "Stream read error.");
    EXPECT_EQ(lastBox().title, "Ostrel Varn 3.8");
}

}  // namespace
