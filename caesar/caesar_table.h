#pragma once

#include "text/dos_text.h"

namespace varn {

inline constexpr int kCaesarShift = 3;

// Codes 32..252 move up by 3; 253, 254, 255 wrap to 34, 33, 32; 0..31 stay.
constexpr unsigned char CaesarEncipher(unsigned char b) {
    if (b < 32) return b;
    if (b <= 255 - kCaesarShift) return static_cast<unsigned char>(b + kCaesarShift);
    return static_cast<unsigned char>(32 + (255 - b));
}

// The inverse of CaesarEncipher.
constexpr unsigned char CaesarDecipher(unsigned char b) {
    if (b < 32) return b;
    if (b >= 32 + kCaesarShift) return static_cast<unsigned char>(b - kCaesarShift);
    return static_cast<unsigned char>(255 - (b - 32));
}

ByteMap CaesarEncipherMap();
ByteMap CaesarDecipherMap();

}  // namespace varn
