#pragma once

#include <QLabel>

#include "qt/control_view.h"

namespace varn::desktop {

// A caption that raises the layer's click on a single click and its double click on a double
// click.
class LabelWidget : public ControlWidget<QLabel> {
    Q_OBJECT
  public:
    LabelWidget(ui::Control& control, QWidget* parent, Dispatcher& dispatcher);

  protected:
    void updateOwn(ui::Property property) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    void fitToText();

    bool pressed_ = false;
};

}  // namespace varn::desktop
