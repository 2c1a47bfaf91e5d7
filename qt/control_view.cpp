#include "qt/control_view.h"

#include <QPalette>

#include "qt/fonts.h"

namespace varn::desktop {

void ControlView::update(ui::Property property) {
    QWidget* w = widget();
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
        default:
            break;
    }
    updateOwn(property);
}

void ControlView::updateAll() {
    for (const ui::Property property :
         {ui::Property::Bounds, ui::Property::Font, ui::Property::Text, ui::Property::Hint,
          ui::Property::ReadOnly, ui::Property::Checked, ui::Property::Range,
          ui::Property::Position, ui::Property::ActivePage, ui::Property::Enabled,
          ui::Property::Visible, ui::Property::Caret}) {
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
    if (control_.color() != ui::kDefaultColor) {
        const QColor back = ToQColor(control_.color());
        palette.setColor(QPalette::Base, back);
        palette.setColor(QPalette::Window, back);
    }
    w->setPalette(palette);
}

}  // namespace varn::desktop
