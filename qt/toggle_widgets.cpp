#include "qt/toggle_widgets.h"

#include <QSignalBlocker>

namespace varn::desktop {

namespace {

void ShowState(QAbstractButton& widget, const ui::Control& control, bool checked,
               ui::Property property) {
    if (property == ui::Property::Text) {
        widget.setText(QString::fromStdString(control.text()));
    } else if (property == ui::Property::Checked && widget.isChecked() != checked) {
        const QSignalBlocker blocker(&widget);
        widget.setChecked(checked);
    }
}

}  // namespace

CheckBoxWidget::CheckBoxWidget(ui::CheckBox& box, QWidget* parent, Dispatcher& dispatcher)
    : ControlWidget(box, parent, dispatcher), box_(box) {}

void CheckBoxWidget::updateOwn(ui::Property property) {
    ShowState(*this, box_, box_.checked(), property);
}

void CheckBoxWidget::nextCheckState() {
    dispatcher_.dispatch([this] { box_.click(); });
    updateOwn(ui::Property::Checked);
}

RadioButtonWidget::RadioButtonWidget(ui::RadioButton& button, QWidget* parent,
                                     Dispatcher& dispatcher)
    : ControlWidget(button, parent, dispatcher), button_(button) {
    // The layer groups the buttons of one parent.
    setAutoExclusive(false);
}

void RadioButtonWidget::updateOwn(ui::Property property) {
    ShowState(*this, button_, button_.checked(), property);
}

void RadioButtonWidget::nextCheckState() {
    dispatcher_.dispatch([this] { button_.click(); });
    updateOwn(ui::Property::Checked);
}

}  // namespace varn::desktop
