#pragma once

#include <QComboBox>

#include "qt/control_view.h"
#include "ui/combo_box.h"

namespace varn::desktop {

// A drop-down list; the user's choice goes to the layer, which raises its change event.
class ComboBoxWidget : public ControlWidget<QComboBox> {
    Q_OBJECT
  public:
    ComboBoxWidget(ui::ComboBox& box, QWidget* parent, Dispatcher& dispatcher);

  protected:
    void updateOwn(ui::Property property) override;

  private:
    ui::ComboBox& box_;
};

}  // namespace varn::desktop
