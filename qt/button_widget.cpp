#include "qt/button_widget.h"

#include <QMouseEvent>

namespace varn::desktop {

ButtonWidget::ButtonWidget(ui::Control& control, QWidget* parent, Dispatcher& dispatcher)
    : ControlWidget(control, parent, dispatcher) {
    setAutoDefault(false);
    setMouseTracking(true);
    connect(this, &QPushButton::clicked, this,
            [this] { dispatcher_.dispatch([this] { control_.click(); }); });
}

void ButtonWidget::updateOwn(ui::Property property) {
    if (property == ui::Property::Text) setText(QString::fromStdString(control_.text()));
}

void ButtonWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    dispatcher_.dispatch([this, at] { control_.mouseMove(at.x(), at.y()); });
    QPushButton::mouseMoveEvent(event);
}

}  // namespace varn::desktop
