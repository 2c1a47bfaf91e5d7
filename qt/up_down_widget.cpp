#include "qt/up_down_widget.h"

namespace varn::desktop {

UpDownWidget::UpDownWidget(ui::UpDown& upDown, QWidget* parent, Dispatcher& dispatcher)
    : ControlWidget(upDown, parent, dispatcher),
      upDown_(upDown),
      up_(new QToolButton(this)),
      down_(new QToolButton(this)) {
    for (QToolButton* button : {up_, down_}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setIconSize(QSize(7, 5));
    }
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    connect(up_, &QToolButton::clicked, this,
            [this] { dispatcher_.dispatch([this] { upDown_.stepUp(); }); });
    connect(down_, &QToolButton::clicked, this,
            [this] { dispatcher_.dispatch([this] { upDown_.stepDown(); }); });
}

void UpDownWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int upper = height() / 2;
    up_->setGeometry(0, 0, width(), upper);
    down_->setGeometry(0, upper, width(), height() - upper);
}

}  // namespace varn::desktop
