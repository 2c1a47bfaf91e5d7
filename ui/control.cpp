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
    if (bounds == bounds_) return;
    bounds_ = bounds;
    notify(Property::Bounds);
}

void Control::setText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    notify(Property::Text);
}

void Control::setHint(std::string hint) {
    if (hint == hint_) return;
    hint_ = std::move(hint);
    notify(Property::Hint);
}

void Control::setEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    notify(Property::Enabled);
}

void Control::setVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    notify(Property::Visible);
}

void Control::setReadOnly(bool readOnly) {
    if (readOnly == readOnly_) return;
    readOnly_ = readOnly;
    notify(Property::ReadOnly);
}

void Control::setFont(Font font) {
    if (font == font_) return;
    font_ = std::move(font);
    notify(Property::Font);
}

void Control::setTabOrder(int order) {
    if (order == tabOrder_) return;
    tabOrder_ = order;
    notify(Property::TabOrder);
}

void Control::setTabStop(bool stop) {
    if (stop == tabStop_) return;
    tabStop_ = stop;
    notify(Property::TabStop);
}

void Control::setAlignment(Alignment alignment) {
    if (alignment == alignment_) return;
    alignment_ = alignment;
    notify(Property::Alignment);
}

void Control::setColor(std::uint32_t color) {
    if (color == color_) return;
    color_ = color;
    notify(Property::Color);
}

void Control::setCursor(Cursor cursor) {
    if (cursor == cursor_) return;
    cursor_ = cursor;
    notify(Property::Cursor);
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
