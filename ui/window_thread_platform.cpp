#include "ui/window_thread_platform.h"

namespace ui {

void WindowThreadPlatform::showModal(const std::function<void()>& show) {
    handoff_.Run([&] {
        if (opening_) opening_();
        show();
        if (closed_) closed_();
    });
}

void WindowThreadPlatform::messageBox(const std::string& text, const std::string& title,
                                      unsigned flags) {
    showModal([&] { desktop_.messageBox(text, title, flags); });
}

std::optional<std::string> WindowThreadPlatform::runFileDialog(const FileDialog& dialog) {
    std::optional<std::string> chosen;
    showModal([&] { chosen = desktop_.runFileDialog(dialog); });
    return chosen;
}

std::optional<std::string> WindowThreadPlatform::askPassword(const std::string& text,
                                                             const std::string& title) {
    std::optional<std::string> password;
    showModal([&] { password = desktop_.askPassword(text, title); });
    return password;
}

bool WindowThreadPlatform::openUrl(const std::string& url) {
    bool opened = false;
    handoff_.Run([&] { opened = desktop_.openUrl(url); });
    return opened;
}

void WindowThreadPlatform::exitProcess(int code) {
    handoff_.Run([&] { desktop_.exitProcess(code); });
}

void WindowThreadPlatform::setInterfaceLanguage(int language) {
    handoff_.Run([&] { desktop_.setInterfaceLanguage(language); });
}

}  // namespace ui
