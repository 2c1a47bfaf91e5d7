#pragma once

#include <cstdint>
#include <string>

namespace varn {

// A text of this many bytes or more is not put into a window.
inline constexpr std::uint64_t kDisplayLimit = 65535;

// The notice shown in place of a text that is too large (UTF-8), in the interface language.
std::string SizeNotice(std::uint64_t size, bool russian);

}  // namespace varn
