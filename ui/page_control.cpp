#include "ui/page_control.h"

namespace ui {

void PageControl::setActivePageIndex(int index) {
    if (index == active_ || index < 0 || index >= static_cast<int>(pages_.size())) return;
    active_ = index;
    notify(Property::ActivePage);
    if (OnChange) OnChange();
}

}  // namespace ui
