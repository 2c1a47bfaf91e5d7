#pragma once

#include "ui/platform.h"
#include "ui/window_handoff.h"

namespace ui {

// The desktop as a handler on a worker thread sees it: every box and dialog is shown by the
// window's thread, the worker waiting for the answer.
class WindowThreadPlatform : public Platform {
  public:
    WindowThreadPlatform(Platform& desktop, WindowHandoff& handoff)
        : desktop_(desktop), handoff_(handoff) {}

    void messageBox(const std::string& text, const std::string& title, unsigned flags) override;
    std::optional<std::string> runFileDialog(const FileDialog& dialog) override;
    std::optional<std::string> askPassword(const std::string& text,
                                           const std::string& title) override;
    bool openUrl(const std::string& url) override;
    void exitProcess(int code) override;
    void setInterfaceLanguage(int language) override;

  private:
    Platform& desktop_;
    WindowHandoff& handoff_;
};

}  // namespace ui
