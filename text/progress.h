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

// Progress steps of a loop that advances at every index i with i mod 100 == 0 (i from 0),
// taken over the indices [0, n).
constexpr std::uint64_t StepsBefore(std::uint64_t n) {
    return (n + kProgressStep - 1) / kProgressStep;
}
// Progress steps of a loop that counts k = 1, 2, ... and advances when k mod 100 == 0.
constexpr std::uint64_t StepsAfter(std::uint64_t n) {
    return n / kProgressStep;
}

}  // namespace varn
