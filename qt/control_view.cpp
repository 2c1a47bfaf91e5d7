#include "qt/control_view.h"

#include <QApplication>
#include <QPalette>
#include <QSignalBlocker>

#include "qt/conversions.h"
#include "qt/fonts.h"

namespace varn::desktop {

void ControlView::update(ui::Property property) {
    QWidget* w = widget();
    // Bringing the layer's state over is no user's action: what the widget signals meanwhile
    // (a text box's document laid out anew, a button's state) must not go back to the layer.
    const QSignalBlocker blocker(w);
    switch (property) {
        case ui::Property::Hint:
            w->setToolTip(QString::fromStdString(control_.hint()));
            break;
        case ui::Property::Enabled:
            w->setEnabled(control_.enabled());
            break;
        case ui::Property::Visible:
            // The tab widget decides which sheet is showing.
            if (control_.kind() != ui::ControlKind::TabSheet) w->setVisible(control_.visible());
            break;
        case ui::Property::Bounds: {
            if (control_.kind() == ui::ControlKind::TabSheet) break;
            const ui::Bounds& b = control_.bounds();
            w->setGeometry(b.left, b.top, b.width, b.height);
            break;
        }
        case ui::Property::Font:
            w->setFont(ToQFont(control_.font()));
            applyColors();
            break;
        case ui::Property::Color:
            applyColors();
            break;
        case ui::Property::Cursor:
            if (const auto shape = ToQtCursor(control_.cursor())) {
                w->setCursor(*shape);
            } else {
                w->unsetCursor();
            }
            break;
        case ui::Property::TabStop:
            applyTabStop();
            dispatcher_.focusOrderChanged();
            break;
        case ui::Property::TabOrder:
            dispatcher_.focusOrderChanged();
            break;
        default:
            break;
    }
    updateOwn(property);
}

void ControlView::updateAll() {
    for (const ui::Property property :
         {ui::Property::Style, ui::Property::Bounds, ui::Property::Font, ui::Property::Color,
          ui::Property::Alignment, ui::Property::Cursor, ui::Property::Text, ui::Property::Hint,
          ui::Property::ReadOnly, ui::Property::Checked, ui::Property::Range,
          ui::Property::Position, ui::Property::ActivePage, ui::Property::Enabled,
          ui::Property::Visible, ui::Property::Caret, ui::Property::TabStop,
          ui::Property::TabOrder}) {
        update(property);
    }
}

void ControlView::applyColors() {
    QWidget* w = widget();
    QPalette palette = w->palette();
    const QColor text = ToQColor(control_.font().color);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::ButtonText, text);
    // The platform's own background unless the layer names one.
    const QPalette standard = QApplication::palette(w);
    const bool own = control_.color() != ui::kDefaultColor;
    for (const QPalette::ColorRole role : {QPalette::Base, QPalette::Window}) {
        palette.setColor(role, own ? ToQColor(control_.color()) : standard.color(role));
    }
    w->setPalette(palette);
}

void ControlView::applyTabStop() {
    QWidget* w = widget();
    if (!ownFocusPolicy_) ownFocusPolicy_ = w->focusPolicy();
    if (control_.tabStop()) {
        w->setFocusPolicy(*ownFocusPolicy_);
        return;
    }
    // Text fields still take a click, so their text can be selected and copied.
    const bool text =
        control_.kind() == ui::ControlKind::Memo || control_.kind() == ui::ControlKind::Edit;
    w->setFocusPolicy(text ? Qt::ClickFocus : Qt::NoFocus);
}

}  // namespace varn::desktop
