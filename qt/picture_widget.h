#pragma once

#include <QLabel>

#include "qt/control_view.h"
#include "ui/simple_controls.h"

namespace varn::desktop {

// A picture in a frame: stretched to the frame or shown at its own size.
class PictureWidget : public ControlWidget<QLabel> {
    Q_OBJECT
  public:
    PictureWidget(ui::Image& image, QWidget* parent, Dispatcher& dispatcher);

  protected:
    void updateOwn(ui::Property property) override;

  private:
    ui::Image& image_;
};

}  // namespace varn::desktop
