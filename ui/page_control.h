#pragma once

#include <string>
#include <vector>

#include "ui/control.h"
#include "ui/simple_controls.h"

namespace ui {

// Tabs in order; changing the active tab raises OnChange.
class PageControl : public Control {
  public:
    PageControl(std::string name, Control* parent, Bounds bounds)
        : Control(ControlKind::PageControl, std::move(name), parent, bounds) {}

    void addPage(TabSheet* page) { pages_.push_back(page); }
    const std::vector<TabSheet*>& pages() const { return pages_; }
    int activePageIndex() const { return active_; }
    void setActivePageIndex(int index);

    std::function<void()> OnChange;

  private:
    std::vector<TabSheet*> pages_;
    int active_ = 0;
};

}  // namespace ui
