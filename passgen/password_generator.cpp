#include "passgen/password_generator.h"

#include <array>

#include "passgen/integer_text.h"

namespace varn {

namespace {

bool InLat(unsigned char c) {
    return c >= kLatFirst && c <= kLatLast;
}
bool InRus(unsigned char c) {
    return c >= kRusFirst;
}  // kRusLast is the top byte value

}  // namespace

int PasswordLength(const std::string& countText) {
    if (countText.empty()) return kDefaultPasswordLength;
    const int n = TextToInt(countText);
    if (n > kMaxPasswordLength) return kMaxPasswordLength;
    if (n < 1) return kDefaultPasswordLength;
    return n;
}

std::optional<PasswordResult> GeneratePassword(const PasswordRequest& request,
                                               RandomSource& random) {
    if (!request.lat && !request.rus) return std::nullopt;

    PasswordResult result;
    result.count = PasswordLength(request.countText);
    result.password.reserve(static_cast<std::size_t>(result.count));

    std::array<bool, 256> chosen{};
    while (static_cast<int>(result.password.size()) < result.count) {
        const auto r = static_cast<unsigned char>(random.Draw() % 256);
        const bool wanted = (request.lat && InLat(r)) || (request.rus && InRus(r));
        if (!wanted || chosen[r]) continue;
        chosen[r] = true;
        result.password.push_back(static_cast<char>(r));
    }

    result.split = SplitPassword(result.password);
    return result;
}

std::string SplitPassword(std::string_view password) {
    std::string split(5, ' ');
    split.reserve(5 + 8 * password.size());
    for (const char c : password) {
        split.push_back(c);
        split += InLat(static_cast<unsigned char>(c)) ? " -lat  " : " -rus  ";
    }
    return split;
}

}  // namespace varn
