#pragma once

#include <string>

#include "ui/control.h"
#include "ui/edit.h"

namespace ui {

// Up-down buttons attached to an edit: each step reads the edit's number, moves it by one
// within the range (no wrapping) and writes it back.
class UpDown : public Control {
  public:
    UpDown(std::string name, Control* parent, Bounds bounds)
        : Control(ControlKind::UpDown, std::move(name), parent, bounds) {}

    int min = 0;
    int max = 100;
    int position = 0;
    bool wrap = false;
    Edit* associate = nullptr;

    void stepUp() { step(+1); }
    void stepDown() { step(-1); }

  private:
    void step(int delta);
};

}  // namespace ui
