#pragma once

// Per-ISA entry points of the lane-parallel cipher. Each ciphers the largest multiple of its lane
// count of blocks and returns how many it did; the caller ciphers the rest with the scalar core.
// "Plain to cipher": input words high byte first, output words low byte first; "cipher to plain"
// the other way round. The schedule is 52 words. Only call a path the CPU supports; nothing from
// the standard library is used in these files, so no inline copy built for a wider ISA can be
// shared.

#include <cstddef>
#include <cstdint>

namespace varn::lanes {

std::size_t Sse2PlainToCipher(const unsigned char* in, unsigned char* out, std::size_t blocks,
                              const std::uint16_t* z);
std::size_t Sse2CipherToPlain(const unsigned char* in, unsigned char* out, std::size_t blocks,
                              const std::uint16_t* z);
std::size_t Avx2PlainToCipher(const unsigned char* in, unsigned char* out, std::size_t blocks,
                              const std::uint16_t* z);
std::size_t Avx2CipherToPlain(const unsigned char* in, unsigned char* out, std::size_t blocks,
                              const std::uint16_t* z);
std::size_t Avx512PlainToCipher(const unsigned char* in, unsigned char* out, std::size_t blocks,
                                const std::uint16_t* z);
std::size_t Avx512CipherToPlain(const unsigned char* in, unsigned char* out, std::size_t blocks,
                                const std::uint16_t* z);

}  // namespace varn::lanes
