#pragma once

#include <QPointer>
#include <QTranslator>
#include <QWidget>
#include <memory>

#include "ui/platform.h"

namespace varn::desktop {

// The toolkit's Russian texts keep the Latin "OK" of the box buttons; a Russian desktop's boxes
// read "ОК".
class RussianOkText : public QTranslator {
  public:
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override;
};

// The desktop's boxes, file dialogs, processes and browser.
class QtPlatform : public ui::Platform {
  public:
    // Boxes and dialogs are parented to this window once it exists.
    void setWindow(QWidget* window) { window_ = window; }

    void messageBox(const std::string& text, const std::string& title, unsigned flags) override;
    std::optional<std::string> runFileDialog(const ui::FileDialog& dialog) override;
    std::optional<std::string> askPassword(const std::string& text,
                                           const std::string& title) override;
    bool openUrl(const std::string& url) override;
    void exitProcess(int code) override;
    // Installs the toolkit's own Russian texts, or takes them away for English.
    void setInterfaceLanguage(int language) override;

  private:
    QPointer<QWidget> window_;
    std::unique_ptr<QTranslator> russianToolkitTexts_;
    std::unique_ptr<QTranslator> russianOk_;
};

}  // namespace varn::desktop
