#pragma once

#include <string>

#include "ui/control.h"

namespace ui {

// Ticking or clearing raises the click event when, and only when, the state changes; a user's
// click toggles through the same path.
class CheckBox : public Control {
  public:
    CheckBox(std::string name, Control* parent, Bounds bounds)
        : Control(ControlKind::CheckBox, std::move(name), parent, bounds) {}
    bool checked() const { return checked_; }
    void setChecked(bool checked);
    void click() override;

  private:
    bool checked_ = false;
};

// Radio buttons with the same parent form one group. Selecting one that was not selected clears
// the others of its parent and then raises its click event; selecting a selected one and clearing
// one raise nothing. A user's click selects.
class RadioButton : public Control {
  public:
    RadioButton(std::string name, Control* parent, Bounds bounds)
        : Control(ControlKind::RadioButton, std::move(name), parent, bounds) {}
    bool checked() const { return checked_; }
    void setChecked(bool checked);
    void click() override;

  private:
    bool checked_ = false;
};

}  // namespace ui
