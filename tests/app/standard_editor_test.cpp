#include <gtest/gtest.h>

#include "tests/support/form_fixture.h"

namespace {

using StandardEditor = FormTest;

struct BuiltInCase {
    ui::RadioButton TForm1::*button;
    const char* text;
    int direction;
};

TEST_F(StandardEditor, BuiltInStandardsSetTextDirectionAndButtons) {
    const BuiltInCase cases[] = {
        {&TForm1::RadioButtonRusUp, "ёфэщцшюжхйчгбьъзыяупдмклврстниаео ", 1},
        {&TForm1::RadioButtonRusDn, " оеаинтсрвлкмдпуяызъьбгчйхжюшцщэфё", 0},
        {&TForm1::RadioButtonEndUp, "zjxqkvgbywmfpucdlhrsinoate ", 1},
        {&TForm1::RadioButtonEngDn, " etaonisrhldcupfmwybgvkqxjz", 0},
        {&TForm1::RadioButtonRusUp, "ёфэщцшюжхйчгбьъзыяупдмклврстниаео ", 1},
    };
    for (const BuiltInCase& c : cases) {
        press(form.*c.button);
        EXPECT_EQ(form.Memo1.text(), c.text);
        EXPECT_EQ(form.state.SortDirection, c.direction);
        EXPECT_EQ(form.RadioButtonUp.checked(), c.direction == 1);
        EXPECT_EQ(form.RadioButtonDn.checked(), c.direction == 0);
        for (ui::RadioButton TForm1::*other :
             {&TForm1::RadioButtonRusDn, &TForm1::RadioButtonRusUp, &TForm1::RadioButtonEngDn,
              &TForm1::RadioButtonEndUp}) {
            EXPECT_EQ((form.*other).checked(), other == c.button) << (form.*other).name();
        }
    }
}

TEST_F(StandardEditor, DirectionButtonsKeepTheTextButClearTheBuiltIns) {
    press(form.RadioButtonEngDn);
    press(form.RadioButtonUp);
    EXPECT_EQ(form.Memo1.text(), " etaonisrhldcupfmwybgvkqxjz");
    EXPECT_EQ(form.state.SortDirection, 1);
    EXPECT_FALSE(form.RadioButtonEngDn.checked());
    press(form.ButtonClearEtalon);
    EXPECT_EQ(form.Memo1.text(), "");
    EXPECT_EQ(form.state.SortDirection, 0);
    EXPECT_TRUE(form.RadioButtonUp.checked()) << "clearing leaves the direction buttons alone";
}

TEST_F(StandardEditor, LoadingAStandardFile) {
    press(form.RadioButtonRusUp);
    form.dispatch([&] { form.PageControl1.setActivePageIndex(2); });
    platform.choose(dir.write("two.txt", "ab\r\ncd"));
    press(form.ButtonOpenEtal);
    EXPECT_EQ(platform.dialogs.back().title, "Открытие эталона распределения букв");
    EXPECT_EQ(form.Memo1.text(), "ab\r\ncd");
    EXPECT_EQ(form.MemoOldEtl.text(), "ab\r\ncd");
    EXPECT_EQ(form.state.SortDirection, 0);
    EXPECT_FALSE(form.RadioButtonRusUp.checked());

    platform.choose(dir.write("large.txt", std::string(70000, 'x')));
    press(form.ButtonOpenEtal);
    EXPECT_EQ(form.Memo1.text(), "Размер файла больше 0xFFFF байт : 70000 байт");
    EXPECT_EQ(form.MemoOldEtl.text(), "ab\r\ncd");
}

TEST_F(StandardEditor, SavingWritesLinesWithCrLfAndACancelWritesNothing) {
    press(form.ButtonSaveEtal);
    EXPECT_EQ(lastBox().text, "Нет эталона для сохранения.");
    EXPECT_EQ(lastBox().title, "Внимание");
    EXPECT_TRUE(platform.dialogs.empty());
    english();
    press(form.ButtonSaveEtal);
    EXPECT_EQ(lastBox().text, "No standart for save");

    form.Memo1.setText("xyz");
    platform.choose(dir.file("standard.txt"));
    press(form.ButtonSaveEtal);
    EXPECT_EQ(platform.dialogs.back().title, "Save of the standard");
    EXPECT_EQ(TempDir::read(dir.file("standard.txt")), "xyz\r\n");
    form.Memo1.setText("другой");
    platform.cancel();
    press(form.ButtonSaveEtal);
    EXPECT_EQ(TempDir::read(dir.file("standard.txt")), "xyz\r\n");
}

TEST_F(StandardEditor, ClickShowsTheCodeOfTheCharacterAfterTheCaret) {
    form.Memo1.setHint("before");
    form.dispatch([&] { form.Memo1.click(); });
    EXPECT_EQ(form.Memo1.hint(), "before") << "an empty editor keeps its hint";
    form.Memo1.setText("ая\r\nb");
    const std::pair<std::size_t, std::string> cases[] = {
        {0, "  'а' -rus       224"},
        {1, "  'я' -rus       255"},
        {4, "  'b' -lat       98"},
        {5, "  '"},
    };
    for (const auto& [caret, hint] : cases) {
        form.Memo1.setSelStart(caret);
        form.dispatch([&] { form.Memo1.click(); });
        EXPECT_EQ(form.Memo1.hint(), hint) << caret;
    }
    form.Memo1.setText("a");
    form.Memo1.setSelStart(0);
    form.dispatch([&] { form.Memo1.click(); });
    EXPECT_EQ(form.Memo1.hint(), "  'a' -lat       97");
}

TEST_F(StandardEditor, ChangingTabCopiesTheStandardAndZeroesTheSubstitutionBars) {
    form.Memo1.setText("abc");
    form.ProgressBarNewFile.setPosition(50);
    form.ProgressBarNewFilePass1.setPosition(20);
    form.dispatch([&] { form.PageControl1.setActivePageIndex(4); });
    EXPECT_EQ(form.MemoOldEtl.text(), "abc");
    EXPECT_EQ(form.ProgressBarNewFile.position(), 0);
    EXPECT_EQ(form.ProgressBarNewFilePass1.position(), 0);
    form.MemoOldEtl.setText("x");
    form.MemoOldEtl.setSelStart(0);
    form.dispatch([&] { form.MemoOldEtl.click(); });
    EXPECT_EQ(form.MemoOldEtl.hint(), "  'x' -lat       120");
}

}  // namespace
