// The File tab's encoding line and choice on the real widgets.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "tests/qt/window_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

TEST_F(WindowTest, TheEncodingIsShownAndChosenOnTheFileTab) {
    TempDir dir;
    auto* label = widget<QLabel>("LabelEncoding");
    auto* choice = widget<QComboBox>("ComboBoxEncoding");
    auto* shown = widget<QPlainTextEdit>("MemoSourceFile");
    ASSERT_TRUE(label && choice && shown);
    EXPECT_EQ(label->text(), "Кодировка:");
    ASSERT_EQ(choice->count(), 5);
    EXPECT_EQ(choice->itemText(0), "Автоматически");
    EXPECT_EQ(choice->itemText(2), "UTF-8");

    // "Ёж" in KOI8-R is found as such and shown decoded.
    platform.choose(dir.write("koi.txt", "\xB3\xD6"));
    QTest::mouseClick(widget<QPushButton>("Button2"), Qt::LeftButton);
    EXPECT_EQ(label->text(), "Кодировка: KOI8-R");
    EXPECT_EQ(shown->toPlainText(), "Ёж");

    // The user's choice reads the same bytes as Windows-1251.
    choice->activated(1);
    EXPECT_EQ(form.ComboBoxEncoding.itemIndex(), 1);
    EXPECT_EQ(label->text(), "Кодировка: Windows-1251");
    EXPECT_EQ(shown->toPlainText(), "іЦ");

    // Both languages; the choice stays.
    QTest::mouseClick(widget<QRadioButton>("RadioButtonEng"), Qt::LeftButton, {}, QPoint(6, 8));
    EXPECT_EQ(label->text(), "Encoding: Windows-1251");
    EXPECT_EQ(choice->itemText(0), "Automatic");
    EXPECT_EQ(choice->currentIndex(), 1);
    // The label and the list fit between the language buttons and "Open...".
    const QRect open = widget<QPushButton>("Button2")->geometry();
    EXPECT_LE(label->geometry().right(), open.left());
    EXPECT_LE(choice->geometry().right(), open.left());
    EXPECT_GE(choice->geometry().left(),
              widget<QRadioButton>("RadioButtonRus")->geometry().right());
}

TEST_F(WindowTest, ALabelSaysWhenKoi8rReadsTheFileAsWell) {
    TempDir dir;
    auto* label = widget<QLabel>("LabelEncoding");
    auto* choice = widget<QComboBox>("ComboBoxEncoding");
    auto* shown = widget<QPlainTextEdit>("MemoSourceFile");
    ASSERT_TRUE(label && choice && shown);
    const auto fits = [&] {
        return label->fontMetrics().horizontalAdvance(label->text()) <= label->width();
    };
    // "ПРИВЕТ МИР" in Windows-1251 capitals: KOI8-R reads the same bytes as small letters.
    platform.choose(dir.write("capitals.txt", "\xCF\xD0\xC8\xC2\xC5\xD2 \xCC\xC8\xD0"));
    QTest::mouseClick(widget<QPushButton>("Button2"), Qt::LeftButton);
    EXPECT_EQ(label->text(), "Кодировка: Windows-1251 (или KOI8-R?)");
    EXPECT_TRUE(fits());
    EXPECT_EQ(shown->toPlainText(), "ПРИВЕТ МИР");
    // The user's choice is no question; "Automatic" asks again.
    choice->activated(3);
    EXPECT_EQ(label->text(), "Кодировка: KOI8-R");
    EXPECT_EQ(shown->toPlainText(), "опхбер лхп");
    choice->activated(0);
    EXPECT_EQ(label->text(), "Кодировка: Windows-1251 (или KOI8-R?)");
    QTest::mouseClick(widget<QRadioButton>("RadioButtonEng"), Qt::LeftButton, {}, QPoint(6, 8));
    EXPECT_EQ(label->text(), "Encoding: Windows-1251 (or KOI8-R?)");
    EXPECT_TRUE(fits());
    // A yo tells the pages apart: no question.
    platform.choose(dir.write("yo.txt", "\xCF\xD0\xC8\xC2\xC5\xD2 \xA8\xC6"));
    QTest::mouseClick(widget<QPushButton>("Button2"), Qt::LeftButton);
    EXPECT_EQ(label->text(), "Encoding: Windows-1251");
}

}  // namespace
