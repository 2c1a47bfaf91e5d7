#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "passgen/random_source.h"

namespace varn {

// Draws from the kernel's cryptographic random source (getrandom), fetched a buffer at a time
// so that a 25-character password costs one system call. Throws std::system_error if the
// kernel refuses.
class SystemRandomSource final : public RandomSource {
  public:
    std::uint16_t Draw() override;

  private:
    void Refill();

    std::array<std::uint16_t, 128> buffer_{};
    std::size_t next_ = buffer_.size();
};

}  // namespace varn
