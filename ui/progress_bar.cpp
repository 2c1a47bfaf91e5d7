#include "ui/progress_bar.h"

#include <algorithm>

namespace ui {

void ProgressBar::setMax(std::int64_t max) {
    if (max == max_) return;
    max_ = std::max(max, min_);
    notify(Property::Range);
    setPosition(position_);
}

void ProgressBar::setPosition(std::int64_t position) {
    position = std::clamp(position, min_, max_);
    if (position == position_) return;
    position_ = position;
    notify(Property::Position);
}

}  // namespace ui
