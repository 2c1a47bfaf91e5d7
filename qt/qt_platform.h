#pragma once

#include <QPointer>
#include <QWidget>

#include "ui/platform.h"

namespace varn::desktop {

// The desktop's boxes, file dialogs, processes and browser.
class QtPlatform : public ui::Platform {
  public:
    // Boxes and dialogs are parented to this window once it exists.
    void setWindow(QWidget* window) { window_ = window; }

    void messageBox(const std::string& text, const std::string& title, unsigned flags) override;
    std::optional<std::string> runFileDialog(const ui::FileDialog& dialog) override;
    bool startProcess(const std::string& program, const std::string& commandLine) override;
    bool openUrl(const std::string& url) override;
    void exitProcess(int code) override;

  private:
    QPointer<QWidget> window_;
};

}  // namespace varn::desktop
