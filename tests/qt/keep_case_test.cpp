// "Keep case" on the New file tab through the real widgets: cleared at start, and the bytes of
// both settings from "In window" and "Create...".
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "tests/qt/window_fixture.h"
#include "tests/support/temp_dir.h"
#include "ui/cp1251.h"

namespace {

TEST_F(WindowTest, KeepCaseWritesACapitalsPartnerAsACapital) {
    TempDir dir;
    auto* keepCase = widget<QCheckBox>("CheckBoxKeepCase");
    ASSERT_TRUE(keepCase);
    EXPECT_FALSE(keepCase->isChecked());
    EXPECT_EQ(keepCase->text(), "Сохранять регистр");
    // ё 5 times, а 4, е 3, о 2: the standard "оеаё" pairs ё-о, а-е, е-а, о-ё.
    const std::string study = dir.write("cipher.txt", ui::EncodeCp1251("Ёёёёё Аааа Еее Оо, Q.\n"));
    platform.choose(study);
    QTest::mouseClick(widget<QPushButton>("Button2"), Qt::LeftButton);
    showTab(1);
    widget<QPlainTextEdit>("Memo1")->setPlainText("оеаё");
    showTab(3);
    const auto substitute = [&](const std::string& name, std::string& shown) {
        QTest::mouseClick(widget<QPushButton>("Button_VOkno"), Qt::LeftButton);
        shown = widget<QPlainTextEdit>("Memo10")->toPlainText().toStdString();
        platform.choose(dir.file(name));
        QTest::mouseClick(widget<QPushButton>("ButtonNewFile"), Qt::LeftButton);
        return TempDir::read(dir.file(name));
    };
    std::string shown;
    EXPECT_EQ(substitute("small.txt", shown), ui::EncodeCp1251("ооооо ееее ааа ёё, q.\r\n"));
    EXPECT_EQ(shown, "ооооо ееее ааа ёё, q.\n");

    clickIndicator(keepCase);
    EXPECT_TRUE(form.CheckBoxKeepCase.checked());
    EXPECT_EQ(substitute("kept.txt", shown), ui::EncodeCp1251("Ооооо Ееее Ааа Ёё, Q.\r\n"));
    EXPECT_EQ(shown, "Ооооо Ееее Ааа Ёё, Q.\n");
    EXPECT_TRUE(platform.boxes.empty());

    clickIndicator(widget<QRadioButton>("RadioButtonEng"));
    EXPECT_EQ(keepCase->text(), "Keep case");
}

}  // namespace
