#pragma once

#include <functional>

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

    // Run on the window's thread before every box and dialog opens and after it has closed, so
    // that the window can make way for it (a progress window, say).
    void setDialogHooks(std::function<void()> opening, std::function<void()> closed) {
        opening_ = std::move(opening);
        closed_ = std::move(closed);
    }

  private:
    // Shows a box or dialog on the window's thread between the hooks.
    void showModal(const std::function<void()>& show);

    Platform& desktop_;
    WindowHandoff& handoff_;
    std::function<void()> opening_;
    std::function<void()> closed_;
};

}  // namespace ui
