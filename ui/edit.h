#pragma once

#include <string>

#include "ui/control.h"

namespace ui {

// A single-line field. The length limit applies to typing only; code may set any text.
class Edit : public Control {
  public:
    Edit(std::string name, Control* parent, Bounds bounds)
        : Control(ControlKind::Edit, std::move(name), parent, bounds) {}
    int maxLength = 0;  // 0: no limit
    char passwordChar = 0;
};

}  // namespace ui
