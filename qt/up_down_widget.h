#pragma once

#include <QToolButton>
#include <QWidget>

#include "qt/control_view.h"
#include "ui/up_down.h"

namespace varn::desktop {

// Two small arrow buttons beside their edit; each press steps the layer's spinner.
class UpDownWidget : public ControlWidget<QWidget> {
    Q_OBJECT
  public:
    UpDownWidget(ui::UpDown& upDown, QWidget* parent, Dispatcher& dispatcher);

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    ui::UpDown& upDown_;
    QToolButton* up_;
    QToolButton* down_;
};

}  // namespace varn::desktop
