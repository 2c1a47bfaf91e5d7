#pragma once

#include <string_view>

// The built-in Russian guide shown on the About tab, compiled in from resources/guide_ru.txt.
std::string_view GuideText();
