#pragma once

#include <QPushButton>

#include "qt/control_view.h"

namespace varn::desktop {

// A push button: clicks and pointer moves go to the layer.
class ButtonWidget : public ControlWidget<QPushButton> {
    Q_OBJECT
  public:
    ButtonWidget(ui::Control& control, QWidget* parent, Dispatcher& dispatcher);

  protected:
    void updateOwn(ui::Property property) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};

}  // namespace varn::desktop
