#include "ui/toggles.h"

namespace ui {

void CheckBox::setChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    notify(Property::Checked);
    raiseClick();
}

void CheckBox::click() {
    setChecked(!checked_);
}

void RadioButton::setChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    if (checked && parent()) {
        for (Control* sibling : parent()->children()) {
            if (sibling != this && sibling->kind() == ControlKind::RadioButton) {
                static_cast<RadioButton*>(sibling)->setChecked(false);
            }
        }
    }
    notify(Property::Checked);
    if (checked) raiseClick();
}

void RadioButton::click() {
    setChecked(true);
}

}  // namespace ui
