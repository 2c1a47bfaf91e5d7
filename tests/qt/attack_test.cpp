// A whole frequency attack through the real widgets: open the ciphertext, pick a built-in
// standard, count on it, substitute into the window and read the plaintext.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

#include "app/form1.h"
#include "qt/main_window.h"
#include "tests/support/fake_platform.h"

namespace {

using varn::desktop::MainWindow;

// Letters in the order of the built-in English standard, most frequent first; each occurs once
// more than the next, so the count ranks them exactly.
const std::string kEnglishOrder = " etaonisrhldcupfmwybgvkqxjz";

std::string Plaintext() {
    std::string text;
    for (std::size_t rank = 0; rank < kEnglishOrder.size(); ++rank) {
        text.append(kEnglishOrder.size() - rank, kEnglishOrder[rank]);
    }
    std::shuffle(text.begin(), text.end(), std::mt19937(7));
    return text;
}

// Simple substitution a<->z, b<->y, ... in upper case; the blank stays.
std::string Encipher(const std::string& plain) {
    std::string cipher = plain;
    for (char& c : cipher) {
        if (c != ' ') c = static_cast<char>('Z' - (c - 'a'));
    }
    return cipher;
}

TEST(Attack, OpenStandardCountSubstituteThroughTheWidgets) {
    std::string pattern = (std::filesystem::temp_directory_path() / "varn-attack-XXXXXX").string();
    const std::filesystem::path folder = ::mkdtemp(pattern.data());
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    const std::string plain = Plaintext();
    const std::string cipherPath = (folder / "cipher.txt").string();
    std::ofstream(cipherPath, std::ios::binary) << Encipher(plain);

    FakePlatform platform;
    TForm1 form(platform);
    MainWindow window(form);
    window.show();
    auto* tabs = qobject_cast<QTabWidget*>(window.widgetFor("PageControl1"));
    ASSERT_NE(tabs, nullptr);

    platform.answers.emplace_back(cipherPath);
    QTest::mouseClick(qobject_cast<QPushButton*>(window.widgetFor("Button2")), Qt::LeftButton);
    EXPECT_EQ(qobject_cast<QPlainTextEdit*>(window.widgetFor("MemoSourceFile"))
                  ->toPlainText()
                  .toStdString(),
              Encipher(plain));

    tabs->setCurrentIndex(1);
    auto* english = qobject_cast<QRadioButton*>(window.widgetFor("RadioButtonEngDn"));
    QTest::mouseClick(english, Qt::LeftButton, {}, QPoint(6, english->height() / 2));
    EXPECT_TRUE(english->isChecked());
    EXPECT_EQ(qobject_cast<QPlainTextEdit*>(window.widgetFor("Memo1"))->toPlainText().toStdString(),
              kEnglishOrder);

    tabs->setCurrentIndex(2);
    QTest::mouseClick(qobject_cast<QPushButton*>(window.widgetFor("ButtonStart")), Qt::LeftButton);
    const QString rows = qobject_cast<QPlainTextEdit*>(window.widgetFor("Memo2"))->toPlainText();
    EXPECT_TRUE(rows.startsWith("   27\t 7.143 %\t\t \t ")) << rows.left(40).toStdString();
    EXPECT_TRUE(rows.endsWith("Всего букв : 378\n")) << rows.right(40).toStdString();
    auto* countBar = qobject_cast<QProgressBar*>(window.widgetFor("ProgressBar1"));
    EXPECT_EQ(countBar->value(), countBar->maximum());

    tabs->setCurrentIndex(3);
    QTest::mouseClick(qobject_cast<QPushButton*>(window.widgetFor("Button_VOkno")), Qt::LeftButton);
    EXPECT_EQ(
        qobject_cast<QPlainTextEdit*>(window.widgetFor("Memo10"))->toPlainText().toStdString(),
        plain);
    EXPECT_TRUE(platform.boxes.empty());

    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
}

}  // namespace
