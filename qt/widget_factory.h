#pragma once

#include <QWidget>
#include <map>

#include "qt/control_view.h"

namespace varn::desktop {

// Creates the widget of a control and, recursively, of its children (pages of a page control
// become tabs), binds each control's listener to its widget and brings its state over. Returns
// the views by control; the widgets belong to `parent`.
void CreateControlWidgets(ui::Control& control, QWidget* parent, Dispatcher& dispatcher,
                          std::map<const ui::Control*, ControlView*>& views);

// Focus order within each parent by the layer's order; controls that are no tab stops are left
// out of it.
void ApplyTabOrder(const ui::Control& root,
                   const std::map<const ui::Control*, ControlView*>& views);

}  // namespace varn::desktop
