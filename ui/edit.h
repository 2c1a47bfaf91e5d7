#pragma once

#include <string>

#include "ui/control.h"

namespace ui {

// A single-line field. The length limit applies to typing only; code may set any text.
class Edit : public Control {
  public:
    Edit(std::string name, Control* parent, Bounds bounds)
        : Control(ControlKind::Edit, std::move(name), parent, bounds) {}
    // Characters the user may type; 0: no limit.
    int maxLength() const { return maxLength_; }
    void setMaxLength(int length) { setStyleField(maxLength_, length); }
    // Shown for each character instead of it; 0: the text itself is shown.
    char passwordChar() const { return passwordChar_; }
    void setPasswordChar(char c) { setStyleField(passwordChar_, c); }

  private:
    int maxLength_ = 0;
    char passwordChar_ = 0;
};

}  // namespace ui
