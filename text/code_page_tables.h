#pragma once

#include <array>

namespace varn::code_pages {

// The code point each byte of an 8-bit code page stands for; kUndefined where the page has none.
inline constexpr char16_t kUndefined = 0xFFFF;
extern const std::array<char16_t, 256> kWindows1251Unicode;
extern const std::array<char16_t, 256> kKoi8rUnicode;
extern const std::array<char16_t, 256> kCp866Unicode;

}  // namespace varn::code_pages
