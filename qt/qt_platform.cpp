#include "qt/qt_platform.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QUrl>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "qt/conversions.h"
#include "ui/file_dialog.h"

namespace varn::desktop {

namespace {

// Large enough that a listing shows its names, sizes, types and dates uncut; never larger than
// the screen.
QSize FileDialogSize(QWidget* window) {
    const QSize readable(760, 480);
    QScreen* screen = window ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? readable.boundedTo(screen->availableGeometry().size()) : readable;
}

}  // namespace

QString RussianOkText::translate(const char* context, const char* sourceText,
                                 const char* disambiguation, int n) const {
    (void)disambiguation;
    (void)n;
    if (qstrcmp(context, "QPlatformTheme") == 0 && qstrcmp(sourceText, "OK") == 0)
        return QStringLiteral("ОК");
    return {};
}

void QtPlatform::messageBox(const std::string& text, const std::string& title, unsigned flags) {
    QMessageBox box(IconForFlags(flags), QString::fromStdString(title),
                    QString::fromStdString(text), QMessageBox::Ok, window_.data());
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

std::optional<std::string> QtPlatform::runFileDialog(const ui::FileDialog& dialog) {
    QFileDialog box(window_.data(), QString::fromStdString(dialog.title));
    box.setWindowModality(Qt::ApplicationModal);
    // The toolkit's own dialog speaks the interface language; a desktop's native one would not.
    box.setOption(QFileDialog::DontUseNativeDialog);
    box.setViewMode(QFileDialog::Detail);
    box.resize(FileDialogSize(window_.data()));
    if (dialog.kind() == ui::FileDialogKind::Open) {
        box.setFileMode(QFileDialog::ExistingFile);
        box.setAcceptMode(QFileDialog::AcceptOpen);
    } else {
        box.setFileMode(QFileDialog::AnyFile);
        // A name that exists is replaced only once the user has said so, in the toolkit's own
        // question.
        box.setAcceptMode(QFileDialog::AcceptSave);
    }
    if (!dialog.filter.empty()) {
        box.setNameFilter(FilterToQt(dialog.filter));
        box.selectNameFilter(FirstQtFilter(dialog.filter));
    }
    if (!dialog.defaultExt.empty()) box.setDefaultSuffix(QString::fromStdString(dialog.defaultExt));
    if (!dialog.fileName.empty()) {
        const QFileInfo last(QFile::decodeName(dialog.fileName.c_str()));
        box.setDirectory(last.absolutePath());
        box.selectFile(last.fileName());
    }
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = box.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return QFile::encodeName(chosen.front()).toStdString();
}

std::optional<std::string> QtPlatform::askPassword(const std::string& text,
                                                   const std::string& title) {
    QInputDialog box(window_.data());
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowTitle(QString::fromStdString(title));
    box.setLabelText(QString::fromStdString(text));
    box.setTextEchoMode(QLineEdit::Password);
    box.setInputMode(QInputDialog::TextInput);
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    return box.textValue().toStdString();
}

bool QtPlatform::openUrl(const std::string& url) {
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

void QtPlatform::setInterfaceLanguage(int language) {
    if (language != 0) {
        // A translator leaves the application as it goes.
        russianToolkitTexts_.reset();
        russianOk_.reset();
        return;
    }
    if (russianToolkitTexts_) return;
    auto translator = std::make_unique<QTranslator>();
    // Without the translations installed the toolkit's texts stay English.
    if (!translator->load(QLocale(QLocale::Russian), "qtbase", "_",
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return;
    }
    QCoreApplication::installTranslator(translator.get());
    russianToolkitTexts_ = std::move(translator);
    russianOk_ = std::make_unique<RussianOkText>();
    QCoreApplication::installTranslator(russianOk_.get());
}

void QtPlatform::exitProcess(int code) {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::exit(code);
}

}  // namespace varn::desktop
