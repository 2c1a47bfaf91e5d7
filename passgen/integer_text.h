#pragma once

#include <string>

namespace varn {

// The integer conversion of a field's text: an optional '+' or '-' followed by decimal digits,
// nothing else (no blanks, no hex), within the 32-bit signed range. Anything else throws
// std::runtime_error("'<text>' is not a valid integer value"), the message the window's general
// error box shows.
int TextToInt(const std::string& text);

}  // namespace varn
