#include "caesar/caesar_table.h"

namespace varn {

ByteMap CaesarEncipherMap() {
    ByteMap map{};
    for (int b = 0; b < 256; ++b) map[b] = CaesarEncipher(static_cast<unsigned char>(b));
    return map;
}

ByteMap CaesarDecipherMap() {
    ByteMap map{};
    for (int b = 0; b < 256; ++b) map[b] = CaesarDecipher(static_cast<unsigned char>(b));
    return map;
}

}  // namespace varn
