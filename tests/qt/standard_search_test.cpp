// The standard editor's context menu finds the standard of a ciphertext; "In window" then shows
// the plaintext. Through the real widgets, as a user's right click.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "app/form1.h"
#include "qt/main_window.h"
#include "tests/support/fake_platform.h"
#include "tests/support/solve_trials.h"
#include "ui/cp1251.h"

namespace {

using varn::desktop::MainWindow;
using varn::solve::Language;

QString Text(MainWindow& window, const char* name) {
    return qobject_cast<QPlainTextEdit*>(window.widgetFor(name))->toPlainText();
}

// A user's right click into the standard editor and a click on the menu's entry, for a
// ciphertext in each language: the search runs once the menu has closed, never inside it.
TEST(StandardSearch, ContextMenuOfTheStandardEditorFindsTheStandard) {
    const struct {
        Language language;
        const char* standardButton;
        const char* oldStandard;
        int standardSize;
        double lettersRight;  // of the plaintext "In window" then shows
    } cases[] = {
        {Language::English, "RadioButtonEngDn", " etaonisrhldcupfmwybgvkqxjz", 27, 1.0},
        {Language::Russian, "RadioButtonRusDn", " оеаинтсрвлкмдпуяызъьбгчйхжюшцщэфё", 34, 0.97},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.standardButton);
        std::string pattern =
            (std::filesystem::temp_directory_path() / "varn-solve-XXXXXX").string();
        const std::filesystem::path folder = ::mkdtemp(pattern.data());
        const auto previous = std::filesystem::current_path();
        std::filesystem::current_path(folder);
        const std::string plain =
            varn::trials::Excerpt(varn::trials::HeldOutText(c.language), c.language, 400,
                                  varn::trials::Measure::Letters, 5, true);
        const std::string cipherPath = (folder / "cipher.txt").string();
        std::ofstream(cipherPath, std::ios::binary)
            << varn::trials::Encipher(plain, varn::trials::RandomKey(c.language, 5));

        FakePlatform platform;
        TForm1 form(platform);
        MainWindow window(form);
        window.show();
        auto* tabs = qobject_cast<QTabWidget*>(window.widgetFor("PageControl1"));
        platform.answers.emplace_back(cipherPath);
        QTest::mouseClick(qobject_cast<QPushButton*>(window.widgetFor("Button2")), Qt::LeftButton);
        tabs->setCurrentIndex(1);
        auto* standard = qobject_cast<QRadioButton*>(window.widgetFor(c.standardButton));
        QTest::mouseClick(standard, Qt::LeftButton, {}, QPoint(6, standard->height() / 2));

        auto* editor = qobject_cast<QPlainTextEdit*>(window.widgetFor("Memo1"));
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5),
                                editor->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(editor->viewport(), &click);
        // The menu deletes itself once closed.
        QPointer<QMenu> menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        QAction* find = nullptr;
        for (QAction* action : menu->actions())
            if (action->text() == "Подобрать эталон автоматически") find = action;
        ASSERT_NE(find, nullptr);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(find).center());
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return !window.busy() && Text(window, "MemoOldEtl") == c.oldStandard; }, 60000));
        EXPECT_TRUE(menu.isNull() || !menu->isVisible());
        EXPECT_TRUE(platform.boxes.empty());
        EXPECT_EQ(Text(window, "Memo1").size(), c.standardSize);
        EXPECT_TRUE(
            Text(window, "Memo2").endsWith("Всего букв : " + QString::number(plain.size()) + "\n"));

        tabs->setCurrentIndex(3);
        QTest::mouseClick(qobject_cast<QPushButton*>(window.widgetFor("Button_VOkno")),
                          Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !window.busy(); }, 60000));
        std::string lower = plain;
        for (char& ch : lower)
            ch = static_cast<char>(varn::LowerChar(static_cast<unsigned char>(ch)));
        const QString expected = QString::fromStdString(ui::DecodeCp1251(lower));
        const QString shown = Text(window, "Memo10");
        ASSERT_EQ(shown.size(), expected.size());
        int right = 0;
        for (qsizetype i = 0; i < shown.size(); ++i) right += shown[i] == expected[i];
        EXPECT_GE(right, c.lettersRight * static_cast<double>(shown.size()));

        std::filesystem::current_path(previous);
        std::filesystem::remove_all(folder);
    }
}

}  // namespace
