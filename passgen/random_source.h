#pragma once

#include <cstdint>

namespace varn {

// Where the generator's draws come from. One draw is a 16-bit number; the generator keeps its
// low byte as a character code, so every code 0..255 is equally likely when the source is fair.
class RandomSource {
  public:
    virtual ~RandomSource() = default;
    virtual std::uint16_t Draw() = 0;
};

}  // namespace varn
