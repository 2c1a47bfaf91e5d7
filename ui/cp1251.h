#pragma once

#include <string>
#include <string_view>

namespace ui {

// The program's 8-bit text is Windows-1251; control texts are UTF-8. The table is a bijection:
// 0x98, which the code page leaves undefined, stands for U+0098, so every byte round-trips.
std::string DecodeCp1251(std::string_view bytes);

// Characters outside the code page become '?'.
std::string EncodeCp1251(std::string_view utf8);

// The code point that a byte stands for.
char32_t Cp1251ToUnicode(unsigned char byte);

}  // namespace ui
