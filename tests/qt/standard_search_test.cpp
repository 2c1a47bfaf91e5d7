// The standard editor's context menu finds the standard of a ciphertext; "In window" then shows
// the plaintext. Through the real widgets, as a user's right click.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPlainTextEdit>
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

namespace {

using varn::desktop::MainWindow;
using varn::solve::Language;

QString Text(MainWindow& window, const char* name) {
    return qobject_cast<QPlainTextEdit*>(window.widgetFor(name))->toPlainText();
}

TEST(StandardSearch, ContextMenuOfTheStandardEditorFindsTheStandard) {
    std::string pattern = (std::filesystem::temp_directory_path() / "varn-solve-XXXXXX").string();
    const std::filesystem::path folder = ::mkdtemp(pattern.data());
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    const std::string plain =
        varn::trials::Excerpt(varn::trials::HeldOutText(Language::English), Language::English, 400,
                              varn::trials::Measure::Letters, 5, true);
    const std::string cipherPath = (folder / "cipher.txt").string();
    std::ofstream(cipherPath, std::ios::binary)
        << varn::trials::Encipher(plain, varn::trials::RandomKey(Language::English, 5));

    FakePlatform platform;
    TForm1 form(platform);
    MainWindow window(form);
    window.show();
    auto* tabs = qobject_cast<QTabWidget*>(window.widgetFor("PageControl1"));
    platform.answers.emplace_back(cipherPath);
    QTest::mouseClick(qobject_cast<QPushButton*>(window.widgetFor("Button2")), Qt::LeftButton);
    tabs->setCurrentIndex(1);
    auto* english = qobject_cast<QRadioButton*>(window.widgetFor("RadioButtonEngDn"));
    QTest::mouseClick(english, Qt::LeftButton, {}, QPoint(6, english->height() / 2));

    auto* editor = qobject_cast<QPlainTextEdit*>(window.widgetFor("Memo1"));
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5),
                            editor->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(editor->viewport(), &click);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QAction* find = nullptr;
    for (QAction* action : menu->actions())
        if (action->text() == "Подобрать эталон автоматически") find = action;
    ASSERT_NE(find, nullptr);
    find->trigger();
    menu->close();

    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(Text(window, "MemoOldEtl"), " etaonisrhldcupfmwybgvkqxjz");
    EXPECT_EQ(Text(window, "Memo1").size(), 27);
    EXPECT_TRUE(
        Text(window, "Memo2").endsWith("Всего букв : " + QString::number(plain.size()) + "\n"));

    tabs->setCurrentIndex(3);
    QTest::mouseClick(qobject_cast<QPushButton*>(window.widgetFor("Button_VOkno")), Qt::LeftButton);
    std::string lower = plain;
    for (char& c : lower) c = static_cast<char>(varn::LowerChar(static_cast<unsigned char>(c)));
    EXPECT_EQ(Text(window, "Memo10").toStdString(), lower);

    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
}

}  // namespace
