#pragma once

#include "ui/window_handoff.h"

namespace varn::desktop {

// The handoff of calls from handler threads to the application's thread, where every widget
// lives. First called on the application's thread, with the application made.
ui::WindowHandoff& WindowThreadHandoff();

}  // namespace varn::desktop
