#pragma once

#include <cstdint>
#include <functional>

namespace varn {

// Called once per buffer with the number of progress steps crossed in it.
using ProgressAdvance = std::function<void(std::uint64_t steps)>;

// A progress bar as the logic sees it. A position above the maximum is the bar's to clamp.
struct Progress {
    virtual void SetMax(std::uint64_t max) = 0;
    virtual void SetPosition(std::uint64_t position) = 0;
    virtual void Advance(std::uint64_t steps) = 0;
    virtual void Fill() = 0;  // position = maximum
    virtual ~Progress() = default;
};

// One step of a bar per this many bytes or characters.
inline constexpr std::uint64_t kProgressStep = 100;

}  // namespace varn
