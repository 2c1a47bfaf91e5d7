#include <gtest/gtest.h>

#include <QApplication>

#include "qt/fonts.h"

// One application for all tests; without a display the offscreen platform is used.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    varn::desktop::InstallFontSubstitutes();
    return RUN_ALL_TESTS();
}
