#include "caesar/caesar_table.h"

namespace varn {

namespace {

ByteMap TableOf(unsigned char (*cipher)(unsigned char)) {
    ByteMap map{};
    for (int b = 0; b < 256; ++b) map[b] = cipher(static_cast<unsigned char>(b));
    return map;
}

}  // namespace

ByteMap CaesarEncipherMap() {
    return TableOf(CaesarEncipher);
}
ByteMap CaesarDecipherMap() {
    return TableOf(CaesarDecipher);
}

}  // namespace varn
