#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <utility>
#include <vector>

#include "passgen/random_source.h"

namespace varn::testing {

// Replays a fixed list of draws and fails loudly if the generator asks for more.
class ScriptedRandomSource final : public RandomSource {
  public:
    explicit ScriptedRandomSource(std::vector<std::uint16_t> draws) : draws_(std::move(draws)) {}

    std::uint16_t Draw() override {
        if (next_ == draws_.size()) throw std::logic_error("scripted draws used up");
        return draws_[next_++];
    }

    std::size_t used() const { return next_; }

  private:
    std::vector<std::uint16_t> draws_;
    std::size_t next_ = 0;
};

}  // namespace varn::testing
