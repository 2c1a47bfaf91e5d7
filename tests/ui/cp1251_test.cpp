#include "ui/cp1251.h"

#include <gtest/gtest.h>
#include <iconv.h>

namespace {

// glibc's converter leaves 0x98 undefined; we map it to U+0098 so every byte round-trips.
std::string IconvDecode(unsigned char byte) {
    iconv_t cd = iconv_open("UTF-8", "CP1251");
    char in[1] = {static_cast<char>(byte)};
    char out[8] = {};
    char* inPtr = in;
    char* outPtr = out;
    std::size_t inLeft = 1, outLeft = sizeof out;
    const std::size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (done == static_cast<std::size_t>(-1)) return {};
    return std::string(out, outPtr);
}

TEST(Cp1251, AgreesWithIconvOnEveryDefinedByte) {
    int compared = 0;
    for (int b = 0; b < 256; ++b) {
        const std::string expected = IconvDecode(static_cast<unsigned char>(b));
        if (expected.empty()) continue;
        ++compared;
        EXPECT_EQ(ui::DecodeCp1251(std::string(1, static_cast<char>(b))), expected) << b;
    }
    EXPECT_GE(compared, 255);
}

TEST(Cp1251, EveryByteRoundTripsAndForeignCharactersBecomeQuestionMarks) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(ui::EncodeCp1251(ui::DecodeCp1251(all)), all);
    EXPECT_EQ(ui::EncodeCp1251("a\xC2\x98Ёё€"), "a\x98\xA8\xB8\x88");
    EXPECT_EQ(ui::EncodeCp1251("日\xFF"), "??");
}

}  // namespace
