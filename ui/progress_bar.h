#pragma once

#include <cstdint>
#include <string>

#include "ui/control.h"

namespace ui {

// Range and position are 64-bit: a pass over a large file has far more than 65535 steps. The
// position stays within the range, as the platform's bar keeps it.
class ProgressBar : public Control {
  public:
    ProgressBar(std::string name, Control* parent, Bounds bounds)
        : Control(ControlKind::ProgressBar, std::move(name), parent, bounds) {}

    std::int64_t min() const { return min_; }
    std::int64_t max() const { return max_; }
    std::int64_t position() const { return position_; }
    void setMax(std::int64_t max);
    void setPosition(std::int64_t position);
    void stepBy(std::int64_t delta) { setPosition(position_ + delta); }

  private:
    std::int64_t min_ = 0;
    std::int64_t max_ = 100;
    std::int64_t position_ = 0;
};

}  // namespace ui
