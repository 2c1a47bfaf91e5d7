#include "ui/control.h"

namespace ui {

Control::Control(ControlKind kind, std::string name, Control* parent, Bounds bounds)
    : kind_(kind), name_(std::move(name)), parent_(parent), bounds_(bounds) {
    if (parent_) {
        parent_->children_.push_back(this);
        font_ = parent_->font_;
    }
}

void Control::setBounds(Bounds bounds) {
    setField(bounds_, bounds, Property::Bounds);
}

void Control::setText(std::string text) {
    setField(text_, std::move(text), Property::Text);
}

void Control::setHint(std::string hint) {
    setField(hint_, std::move(hint), Property::Hint);
}

void Control::setEnabled(bool enabled) {
    setField(enabled_, enabled, Property::Enabled);
}

void Control::setVisible(bool visible) {
    setField(visible_, visible, Property::Visible);
}

void Control::setReadOnly(bool readOnly) {
    setField(readOnly_, readOnly, Property::ReadOnly);
}

void Control::setFont(Font font) {
    setField(font_, std::move(font), Property::Font);
}

void Control::setTabOrder(int order) {
    setField(tabOrder_, order, Property::TabOrder);
}

void Control::setTabStop(bool stop) {
    setField(tabStop_, stop, Property::TabStop);
}

void Control::setAlignment(Alignment alignment) {
    setField(alignment_, alignment, Property::Alignment);
}

void Control::setColor(std::uint32_t color) {
    setField(color_, color, Property::Color);
}

void Control::setCursor(Cursor cursor) {
    setField(cursor_, cursor, Property::Cursor);
}

void Control::click() {
    raiseClick();
}

void Control::doubleClick() {
    if (OnDblClick) OnDblClick();
}

void Control::mouseMove(int x, int y) {
    if (OnMouseMove) OnMouseMove(x, y);
}

void Control::notify(Property property) {
    if (listener_) listener_(*this, property);
}

void Control::raiseClick() {
    if (OnClick) OnClick();
}

}  // namespace ui
