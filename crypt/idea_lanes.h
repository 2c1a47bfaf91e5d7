#pragma once

// Per-ISA entry points of the lane-parallel cipher. Each function ciphers the largest multiple of
// its lane count of blocks and returns how many it did; the caller ciphers the rest with the scalar
// core. "Plain to cipher": input words high byte first, output words low byte first; "cipher to
// plain" the other way round. The schedule is 52 words. Only call a path the CPU supports; nothing
// from the standard library is used in these files, so no inline copy built for a wider ISA can be
// shared.

#include <cstddef>
#include <cstdint>

namespace varn::lanes {

using LaneFn = std::size_t(const unsigned char* in, unsigned char* out, std::size_t blocks,
                           const std::uint16_t* z);

// The two directions of one instruction set.
struct LanePath {
    LaneFn* plainToCipher;
    LaneFn* cipherToPlain;
};

extern const LanePath kSse2;
extern const LanePath kAvx2;
extern const LanePath kAvx512;

}  // namespace varn::lanes
