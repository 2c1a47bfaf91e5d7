#pragma once

#include <string>
#include <utility>
#include <vector>

#include "ui/control.h"

namespace ui {

// A drop-down list of fixed choices. Setting the index by code raises nothing; a user's choice
// sets it and raises OnChange when it changed.
class ComboBox : public Control {
  public:
    ComboBox(std::string name, Control* parent, Bounds bounds)
        : Control(ControlKind::ComboBox, std::move(name), parent, bounds) {}

    const std::vector<std::string>& items() const { return items_; }
    // Replacing the items (with the same count, as a language switch does) keeps the index.
    void setItems(std::vector<std::string> items) { setStyleField(items_, std::move(items)); }
    int itemIndex() const { return itemIndex_; }
    void setItemIndex(int index) { setField(itemIndex_, index, Property::Position); }

    void choose(int index) {
        if (index == itemIndex_ || index < 0 || index >= static_cast<int>(items_.size())) return;
        setItemIndex(index);
        if (OnChange) OnChange();
    }
    std::function<void()> OnChange;

  private:
    std::vector<std::string> items_;
    int itemIndex_ = 0;
};

}  // namespace ui
