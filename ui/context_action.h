#pragma once

#include <functional>
#include <string>

namespace ui {

// An entry a control adds to its context menu, after the front end's own entries. The caption
// is asked for each time the menu opens, so it follows the interface language.
struct ContextAction {
    std::function<std::string()> caption;
    std::function<void()> trigger;
};

}  // namespace ui
