#include "qt/label_widget.h"

#include <QMouseEvent>
#include <algorithm>

#include "qt/conversions.h"

namespace varn::desktop {

LabelWidget::LabelWidget(ui::Control& control, QWidget* parent, Dispatcher& dispatcher)
    : ControlWidget(control, parent, dispatcher) {
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
}

void LabelWidget::updateOwn(ui::Property property) {
    if (property == ui::Property::Text) setText(QString::fromStdString(control_.text()));
    if (property == ui::Property::Alignment) {
        setAlignment(ToQtAlignment(control_.alignment()) | Qt::AlignTop);
    }
    if (property == ui::Property::Text || property == ui::Property::Font ||
        property == ui::Property::Bounds || property == ui::Property::Alignment) {
        fitToText();
    }
}

void LabelWidget::fitToText() {
    // A caption grows to its text, as the captions of the stored layout do: to the right, or to
    // the left when right-aligned, so that no text is cut where the fonts run wider.
    const ui::Bounds& b = control_.bounds();
    const int width = std::max(b.width, fontMetrics().horizontalAdvance(text()) + 2);
    const int left =
        control_.alignment() == ui::Alignment::Right ? b.left + b.width - width : b.left;
    setGeometry(left, b.top, width, std::max(b.height, fontMetrics().height()));
}

void LabelWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) pressed_ = true;
    QLabel::mousePressEvent(event);
}

void LabelWidget::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click) dispatcher_.dispatch([this] { control_.click(); });
}

void LabelWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    // The release that ends a double click is no second click.
    pressed_ = false;
    QLabel::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) dispatcher_.dispatch([this] { control_.doubleClick(); });
}

}  // namespace varn::desktop
