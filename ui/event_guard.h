#pragma once

#include <exception>
#include <functional>
#include <string>

#include "ui/platform.h"

namespace ui {

// Runs every event handler: an error that escapes it ends that handler only and is reported in
// one stop box titled with the application's title, its message followed by a full stop. The
// message is the error's own text unless `describe` words it (failures of the file layer carry
// what failed, not words for the user).
class EventGuard {
  public:
    using Describe = std::function<std::string(const std::exception&)>;

    EventGuard(Platform& platform, std::string title, Describe describe = {})
        : platform_(platform), title_(std::move(title)), describe_(std::move(describe)) {}

    void run(const std::function<void()>& handler) noexcept;
    const std::string& title() const { return title_; }

  private:
    Platform& platform_;
    std::string title_;
    Describe describe_;
};

}  // namespace ui
