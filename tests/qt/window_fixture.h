#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QPoint>
#include <QString>
#include <QTabWidget>
#include <QTest>
#include <chrono>
#include <string>

#include "app/form1.h"
#include "qt/main_window.h"
#include "tests/support/fake_platform.h"

// The real window for a form on a scripted desktop, shown (which runs the form's shown event).
class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // Every handler ends before the action returns, as the checks after it expect; the tests
        // of handlers that run on past that set it themselves.
        window.setPatience(std::chrono::minutes(10));
        window.show();
    }

    template <typename W>
    W* widget(const std::string& name) {
        QWidget* found = window.widgetFor(name);
        EXPECT_NE(found, nullptr) << name;
        auto* typed = qobject_cast<W*>(found);
        EXPECT_NE(typed, nullptr) << name << " is a "
                                  << (found ? found->metaObject()->className() : "");
        return typed;
    }
    QTabWidget* tabs() { return widget<QTabWidget>("PageControl1"); }
    void showTab(int index) { tabs()->setCurrentIndex(index); }
    // A click on the indicator, which every check and radio button takes as a hit.
    static void clickIndicator(QAbstractButton* button) {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

    // Key clicks for any character (the test library's own take ASCII only).
    static void typeText(QWidget* target, const QString& text) {
        for (const QChar c : text) {
            QTest::sendKeyEvent(QTest::Press, target, Qt::Key_A, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, target, Qt::Key_A, QString(c), Qt::NoModifier);
        }
    }

    FakePlatform platform;
    TForm1 form{platform};
    varn::desktop::MainWindow window{form};
};
