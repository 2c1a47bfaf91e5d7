#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "passgen/random_source.h"

namespace varn {

inline constexpr int kDefaultPasswordLength = 8;
inline constexpr int kMaxPasswordLength = 25;

// Character ranges (Windows-1251 codes).
inline constexpr unsigned char kLatFirst = 33;  // printable ASCII without the blank
inline constexpr unsigned char kLatLast = 126;
inline constexpr unsigned char kRusFirst = 192;  // the Cyrillic letters
inline constexpr unsigned char kRusLast = 255;

struct PasswordRequest {
    bool lat = true;
    bool rus = true;
    std::string countText = "8";
};

struct PasswordResult {
    int count = 0;         // the corrected length, written back into the count field
    std::string password;  // Windows-1251 bytes
    std::string split;     // Windows-1251 bytes
};

// The length asked for by the count field: empty gives 8, above 25 gives 25, below 1 gives 8.
// Text that is not an integer throws the conversion error of TextToInt.
int PasswordLength(const std::string& countText);

// A password of distinct characters from the chosen ranges. Without any range nothing is done
// (nullopt, and the count text is not even looked at). May throw the conversion error.
std::optional<PasswordResult> GeneratePassword(const PasswordRequest& request,
                                               RandomSource& random);

// Five blanks, then for each character: the character, " -", "lat" or "rus", two blanks.
// Characters of the Lat range are "lat"; every other character is "rus".
std::string SplitPassword(std::string_view password);

}  // namespace varn
