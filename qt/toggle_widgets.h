#pragma once

#include <QCheckBox>
#include <QRadioButton>

#include "qt/control_view.h"
#include "ui/toggles.h"

namespace varn::desktop {

// Check and radio buttons leave their state to the layer: a user's click runs the layer's click
// once (which toggles, groups and raises the handler) and the widget then shows the layer's
// state.
class CheckBoxWidget : public ControlWidget<QCheckBox> {
    Q_OBJECT
  public:
    CheckBoxWidget(ui::CheckBox& box, QWidget* parent, Dispatcher& dispatcher);

  protected:
    void updateOwn(ui::Property property) override;
    void nextCheckState() override;

  private:
    ui::CheckBox& box_;
};

class RadioButtonWidget : public ControlWidget<QRadioButton> {
    Q_OBJECT
  public:
    RadioButtonWidget(ui::RadioButton& button, QWidget* parent, Dispatcher& dispatcher);

  protected:
    void updateOwn(ui::Property property) override;
    void nextCheckState() override;

  private:
    ui::RadioButton& button_;
};

}  // namespace varn::desktop
