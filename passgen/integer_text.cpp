#include "passgen/integer_text.h"

#include <cstdint>
#include <limits>
#include <stdexcept>

namespace varn {

namespace {

[[noreturn]] void ThrowNotInteger(const std::string& text) {
    throw std::runtime_error("'" + text + "' is not a valid integer value");
}

}  // namespace

int TextToInt(const std::string& text) {
    std::size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    if (pos == text.size()) ThrowNotInteger(text);

    // Accumulate the magnitude in 64 bits and stop as soon as it leaves the 32-bit range, so
    // a long run of digits cannot wrap round into a plausible value.
    const std::int64_t limit =
        negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                 : std::numeric_limits<std::int32_t>::max();
    std::int64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c < '0' || c > '9') ThrowNotInteger(text);
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit) ThrowNotInteger(text);
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

}  // namespace varn
