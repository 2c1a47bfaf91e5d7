#include <gtest/gtest.h>

#include "tests/support/form_fixture.h"

namespace {

class Counting : public FormTest {
  protected:
    void onStandard(const std::string& standard, int direction) {
        form.Memo1.setText(standard);
        press(direction == 0 ? form.RadioButtonUp : form.RadioButtonDn);
        press(direction == 0 ? form.RadioButtonDn : form.RadioButtonUp);
        press(form.ButtonStart);
    }
    std::vector<std::string> rows() const { return form.Memo2.lines(); }
};

const std::string kSixBytes = "abba e";

TEST_F(Counting, OnStandardPairsByRankFromTheFrequentEnd) {
    study(kSixBytes);
    struct Case {
        const char* standard;
        int direction;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {"ab", 0, {"   2\t 33.334 %\t\ta\ta", "   2\t 33.334 %\t\tb\tb", "Всего букв : 6"}},
        {"ba", 0, {"   2\t 33.334 %\t\ta\tb", "   2\t 33.334 %\t\tb\ta", "Всего букв : 6"}},
        {"aab", 0, {"   2\t 33.334 %\t\ta\ta", "   2\t 33.334 %\t\tb\ta", "Всего букв : 6"}},
        {"ab", 1, {"   2\t 33.334 %\t\ta\ta", "   2\t 33.334 %\t\tb\tb", "Всего букв : 6"}},
        {"ab\r\n", 0, {"   2\t 33.334 %\t\ta\ta", "   2\t 33.334 %\t\tb\tb", "Всего букв : 6"}},
        {"\r\n", 0, {"Всего букв : 6"}},
        {"eaz",
         1,
         {"   0\t 0 %\t\tz\te", "   1\t 16.667 %\t\te\ta", "   2\t 33.334 %\t\ta\tz",
          "Всего букв : 6"}},
    };
    for (const Case& c : cases) {
        onStandard(c.standard, c.direction);
        EXPECT_EQ(rows(), c.rows) << c.standard << " direction " << c.direction;
        EXPECT_EQ(form.Memo5.text(), "Эталон\r\n");
    }
    EXPECT_EQ(form.ProgressBar1.position(), form.ProgressBar1.max());
    EXPECT_EQ(form.ProgressBarNewFilePass1.position(), 0);
}

TEST_F(Counting, AllListsEveryCharacterWithItsCodeAndMakesANewStandard) {
    study(kSixBytes);
    press(form.RadioButtonRusDn);
    english();
    press(form.Button_AllScan);
    EXPECT_EQ(rows(),
              (std::vector<std::string>{"   2\t 33.334 %\t\ta\t97", "   2\t 33.334 %\t\tb\t98",
                                        "   1\t 16.667 %\t\t \t32", "   1\t 16.667 %\t\te\t101",
                                        "Whole letters : 6", "Refer to new standard..."}));
    EXPECT_EQ(form.Memo1.text(), "ab e\r\n");
    EXPECT_EQ(form.MemoOldEtl.text(), "");
    EXPECT_EQ(form.Memo5.text(), "Cod ASCII\r\n");
    EXPECT_FALSE(form.RadioButtonRusDn.checked());
    russian();
    EXPECT_EQ(form.Memo5.text(), "Эталон") << "the language switch writes the heading cell";
}

TEST_F(Counting, AllShowsControlCharactersRawAndLeavesNulOutOfTheStandard) {
    study(std::string("a\r\n\0", 4));
    press(form.Button_AllScan);
    EXPECT_EQ(rows(), (std::vector<std::string>{"   1\t 25 %\t\t\t0", "   1\t 25 %\t\t\n\t10",
                                                "   1\t 25 %\t\t\r\t13", "   1\t 25 %\t\ta\t97",
                                                "Всего букв : 4", "См. новый эталон..."}));
    EXPECT_EQ(form.Memo1.text(), "\n\ra\r\n");
}

TEST_F(Counting, FoldsLatinCyrillicAndYo) {
    study("Aa\xA8\xB8");
    onStandard("ёa", 0);
    EXPECT_EQ(rows(), (std::vector<std::string>{"   2\t 50 %\t\ta\tё", "   2\t 50 %\t\tё\ta",
                                                "Всего букв : 4"}));
}

TEST_F(Counting, AnEmptyFileShowsZeroPercentRows) {
    study("");
    onStandard("ab", 0);
    EXPECT_EQ(rows(), (std::vector<std::string>{"   0\t 0 %\t\ta\ta", "   0\t 0 %\t\tb\tb",
                                                "Всего букв : 0"}));
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(Counting, WarningsAndTheAllButtonsHint) {
    press(form.ButtonStart);
    EXPECT_EQ(lastBox().text, "Файл не выбран.");
    press(form.Button_AllScan);
    EXPECT_EQ(lastBox().text, "Файл не выбран.");
    study("abc");
    english();
    press(form.ButtonStart);
    EXPECT_EQ(lastBox().text, "The Standard is not chose.");
    EXPECT_EQ(lastBox().title, "Attention");

    const std::string ordinary = form.Button_AllScan.hint();
    form.dispatch([&] { form.Button_AllScan.mouseMove(3, 4); });
    EXPECT_EQ(form.Button_AllScan.hint(), ordinary);
    form.Memo1.setText("ab");
    form.dispatch([&] { form.Button_AllScan.mouseMove(3, 4); });
    EXPECT_EQ(form.Button_AllScan.hint(), "!!! In field a Standard there is text !!!");
    russian();
    EXPECT_EQ(form.Button_AllScan.hint(), "Запустить подсчёт из файла в режиме 'Всё'");
}

TEST_F(Counting, AFileThatCannotBeOpenedReportsAndKeepsTheResults) {
    form.Memo2.addLine("old");
    form.Memo1.setText("ab");
    platform.choose(dir.file("gone.txt"));
    dir.write("gone.txt", "x");
    press(form.Button2);
    std::filesystem::remove(dir.file("gone.txt"));
    press(form.ButtonStart);
    EXPECT_EQ(lastBox().text, "Cannot open file " + dir.file("gone.txt") + ".");
    EXPECT_EQ(form.Memo2.text(), "old\r\n");
}

TEST_F(Counting, CountsAboveTwoToTheTwentyFourAreExact) {
    const std::string path = dir.write("zeros.bin", "");
    std::filesystem::resize_file(path, (1u << 24) + 3);
    platform.choose(path);
    press(form.Button2);
    press(form.Button_AllScan);
    EXPECT_EQ(rows().front(), "   16777219\t 100 %\t\t\t0");
    EXPECT_EQ(form.Memo2.tabStopWidth(), 12u) << "eight digits widen the columns";
    EXPECT_EQ(form.ProgressBar1.max(), 167772);
    EXPECT_EQ(form.ProgressBar1.position(), 167772);
}

TEST_F(Counting, SavingTheResultTableByteForByte) {
    press(form.ButtonSaveRes);
    EXPECT_EQ(lastBox().text, "Нет текста в окне результатов\nдля сохранения.");
    english();
    press(form.ButtonSaveRes);
    EXPECT_EQ(lastBox().text, "No text in window result \n for save.");
    russian();

    study("a\r\n");
    press(form.Button_AllScan);
    platform.choose(dir.file("result.txt"));
    press(form.ButtonSaveRes);
    EXPECT_EQ(platform.dialogs.back().title, "Сохранение результата подсчёта");
    const std::string expected =
        "   1\t 33.334 %\t\t\n\t10\r\n   1\t 33.334 %\t\t\r\t13\r\n   1\t 33.334 %\t\ta\t97\r\n"
        "\xC2\xF1\xE5\xE3\xEE \xE1\xF3\xEA\xE2 : 3\r\n\xD1\xEC. \xED\xEE\xE2\xFB\xE9 "
        "\xFD\xF2\xE0\xEB\xEE\xED...\r\n";
    EXPECT_EQ(TempDir::read(dir.file("result.txt")), expected);
    study("b");
    press(form.Button_AllScan);
    platform.cancel();
    press(form.ButtonSaveRes);
    EXPECT_EQ(TempDir::read(dir.file("result.txt")), expected) << "a cancel writes nothing";
}

}  // namespace
