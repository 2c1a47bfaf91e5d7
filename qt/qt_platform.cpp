#include "qt/qt_platform.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "qt/conversions.h"
#include "ui/file_dialog.h"

namespace varn::desktop {

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
    if (dialog.kind() == ui::FileDialogKind::Open) {
        box.setFileMode(QFileDialog::ExistingFile);
        box.setAcceptMode(QFileDialog::AcceptOpen);
    } else {
        box.setFileMode(QFileDialog::AnyFile);
        box.setAcceptMode(QFileDialog::AcceptSave);
        box.setOption(QFileDialog::DontConfirmOverwrite);
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

bool QtPlatform::startProcess(const std::string& program, const std::string& commandLine) {
    return QProcess::startDetached(QString::fromStdString(program),
                                   ArgumentsAfterProgram(commandLine));
}

bool QtPlatform::openUrl(const std::string& url) {
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

void QtPlatform::exitProcess(int code) {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::exit(code);
}

}  // namespace varn::desktop
