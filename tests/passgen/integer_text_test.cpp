#include "passgen/integer_text.h"

#include <gtest/gtest.h>

#include <ostream>
#include <stdexcept>
#include <string>

namespace varn {
namespace {

struct GoodCase {
    const char* text;
    int value;
};

void PrintTo(const GoodCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class TextToIntAccepts : public ::testing::TestWithParam<GoodCase> {};

TEST_P(TextToIntAccepts, Converts) {
    EXPECT_EQ(TextToInt(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Decimal, TextToIntAccepts,
                         ::testing::Values(GoodCase{"0", 0}, GoodCase{"8", 8}, GoodCase{"25", 25},
                                           GoodCase{"007", 7}, GoodCase{"+12", 12},
                                           GoodCase{"-3", -3}, GoodCase{"-0", 0},
                                           GoodCase{"2147483647", 2147483647},
                                           GoodCase{"-2147483648", -2147483647 - 1},
                                           GoodCase{"000000000000000000042", 42}));

class TextToIntRejects : public ::testing::TestWithParam<const char*> {};

TEST_P(TextToIntRejects, ThrowsTheConversionMessage) {
    const std::string text = GetParam();
    try {
        TextToInt(text);
        FAIL() << "accepted '" << text << "'";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "'" + text + "' is not a valid integer value");
    }
}

INSTANTIATE_TEST_SUITE_P(NotAnInteger, TextToIntRejects,
                         ::testing::Values("", "+", "-", "abc", "8a", "a8", " 8", "8 ", "1.5",
                                           "1,5", "+-1", "--1", "$10", "0x10",
                                           "\xC2\xEE\xF1\xE5\xEC\xFC"));

INSTANTIATE_TEST_SUITE_P(OutOfRange, TextToIntRejects,
                         ::testing::Values("2147483648", "-2147483649", "4294967296", "4294967304",
                                           "99999999999999999999"));

}  // namespace
}  // namespace varn
