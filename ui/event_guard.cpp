#include "ui/event_guard.h"

#include <exception>

namespace ui {

void EventGuard::run(const std::function<void()>& handler) noexcept {
    std::string message;
    try {
        handler();
        return;
    } catch (const std::exception& error) {
        message = describe_ ? describe_(error) : error.what();
    } catch (...) {
        message = "Unknown error";
    }
    try {
        platform_.messageBox(message + ".", title_, MB_OK | MB_ICONSTOP);
    } catch (...) {
        // Nothing more can be reported.
    }
}

}  // namespace ui
