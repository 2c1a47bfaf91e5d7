#pragma once

#include <cstdint>
#include <string>

namespace varn {

// Numbers shown to the user: the general format, at most 15 significant digits, no trailing
// zeros, the locale's decimal separator. Counts and sizes are exact integers.
void SetDecimalSeparator(char separator);
char DecimalSeparator();

std::string FormatNumber(std::uint64_t value);
std::string FormatNumber(double value);

}  // namespace varn
