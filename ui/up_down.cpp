#include "ui/up_down.h"

#include <algorithm>
#include <charconv>

namespace ui {

void UpDown::step(int delta) {
    if (associate) {
        const std::string& text = associate->text();
        int value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error == std::errc() && end == text.data() + text.size()) position = value;
    }
    int next = position + delta;
    if (wrap) {
        if (next > max) next = min;
        if (next < min) next = max;
    }
    position = std::clamp(next, min, max);
    if (associate) associate->setText(std::to_string(position));
    notify(Property::Position);
}

}  // namespace ui
