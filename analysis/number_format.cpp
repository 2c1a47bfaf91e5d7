#include "analysis/number_format.h"

#include <cstdio>

namespace varn {

namespace {
char decimalSeparator = '.';
}

void SetDecimalSeparator(char separator) {
    decimalSeparator = separator;
}
char DecimalSeparator() {
    return decimalSeparator;
}

std::string FormatNumber(std::uint64_t value) {
    return std::to_string(value);
}

std::string FormatNumber(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    std::string text = buffer;
    for (char& c : text) {
        if (c == '.') c = decimalSeparator;
    }
    return text;
}

}  // namespace varn
