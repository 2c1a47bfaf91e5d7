#pragma once

#include <cstddef>
#include <string>

namespace varn::utf8 {

// One sequence of strict UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF) at
// `p`: its length (1 to 4) with its code point in `point`; 0 when `available` bytes end inside a
// sequence that is valid so far (more input may complete it); -1 when the byte at `p` starts no
// valid sequence (it then stands for itself).
inline int Decode(const unsigned char* p, std::size_t available, char32_t& point) {
    const unsigned char b = p[0];
    if (b < 0x80) {
        point = b;
        return 1;
    }
    int length;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
        point = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        point = b & 0x0F;
        if (b == 0xE0) low = 0xA0;
        if (b == 0xED) high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        point = b & 0x07;
        if (b == 0xF0) low = 0x90;
        if (b == 0xF4) high = 0x8F;
    } else {
        return -1;
    }
    for (int k = 1; k < length; ++k) {
        if (static_cast<std::size_t>(k) >= available) return 0;
        const unsigned char c = p[k];
        if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF)) return -1;
        point = (point << 6) | (c & 0x3F);
    }
    return length;
}

// Appends the UTF-8 of `point` (at most U+FFFF) to `out`; returns its length.
inline int Encode(char32_t point, unsigned char* out) {
    if (point < 0x80) {
        out[0] = static_cast<unsigned char>(point);
        return 1;
    }
    if (point < 0x800) {
        out[0] = static_cast<unsigned char>(0xC0 | (point >> 6));
        out[1] = static_cast<unsigned char>(0x80 | (point & 0x3F));
        return 2;
    }
    out[0] = static_cast<unsigned char>(0xE0 | (point >> 12));
    out[1] = static_cast<unsigned char>(0x80 | ((point >> 6) & 0x3F));
    out[2] = static_cast<unsigned char>(0x80 | (point & 0x3F));
    return 3;
}

inline void Append(char32_t point, std::string& out) {
    unsigned char bytes[4];
    out.append(reinterpret_cast<const char*>(bytes),
               static_cast<std::size_t>(Encode(point, bytes)));
}

}  // namespace varn::utf8
