#pragma once

#include <functional>
#include <string>

#include "ui/platform.h"

namespace ui {

// Runs every event handler: an error that escapes it ends that handler only and is reported in
// one stop box titled with the application's title, its message followed by a full stop.
class EventGuard {
  public:
    EventGuard(Platform& platform, std::string title)
        : platform_(platform), title_(std::move(title)) {}

    void run(const std::function<void()>& handler) noexcept;
    const std::string& title() const { return title_; }

  private:
    Platform& platform_;
    std::string title_;
};

}  // namespace ui
