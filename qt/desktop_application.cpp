#include "qt/desktop_application.h"

#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <exception>
#include <memory>
#include <string>

#include "analysis/number_format.h"
#include "app/form1.h"
#include "qt/chart_window.h"
#include "qt/conversions.h"
#include "qt/fonts.h"
#include "qt/main_window.h"
#include "qt/pictures.h"
#include "qt/qt_platform.h"
#include "qt/window_thread.h"
#include "ui/window_thread_platform.h"

namespace {

void ShowStartupError(const std::string& message) {
    QMessageBox box(QMessageBox::Critical, kApplicationTitle, QString::fromStdString(message + "."),
                    QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace

void RunDesktopApplication() {
    char programName[] = "ostrel-varn";
    char* arguments[] = {programName, nullptr};
    int argumentCount = 1;
    QApplication application(argumentCount, arguments);
    try {
        QApplication::setApplicationName(kApplicationTitle);
        // No display name: the toolkit would append it to the window's own title.
        QApplication::setDesktopFileName("org.ostrelvarn.OstrelVarn");
        QApplication::setWindowIcon(varn::desktop::WindowIcon());
        if (const auto separator =
                varn::desktop::AsciiDecimalSeparator(QLocale::system().decimalPoint())) {
            varn::SetDecimalSeparator(*separator);
        }
        varn::desktop::InstallFontSubstitutes();

        varn::desktop::QtPlatform desktop;
        // Handlers run on a thread of their own; their boxes and dialogs are shown here.
        ui::WindowThreadPlatform platform(desktop, varn::desktop::WindowThreadHandoff());
        auto form = std::make_unique<TForm1>(platform);
        varn::desktop::MainWindow window(*form);
        // Opened by the count tab's chart button, beside the main window.
        varn::desktop::ChartWindow chart(*form, window, &window);
        desktop.setWindow(&window);
        platform.setDialogHooks([&window] { window.dialogOpening(); },
                                [&window] { window.dialogClosed(); });
        window.placeOnScreen();
        // The first show runs the form's shown event.
        window.show();
        QApplication::exec();
        window.hide();
        desktop.setWindow(nullptr);
    } catch (const std::exception& error) {
        ShowStartupError(error.what());
    } catch (...) {
        ShowStartupError("Unknown error");
    }
}
