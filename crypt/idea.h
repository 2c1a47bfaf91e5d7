#pragma once

#include <array>
#include <cstdint>

namespace varn {

// The IDEA block cipher on 16-bit words. Pure functions, no state.
// A multiplicative operand of 0 stands for 65536.

using IdeaKey = std::array<std::uint16_t, 8>;        // K1 (most significant) .. K8
using IdeaSchedule = std::array<std::uint16_t, 52>;  // Z1 .. Z52
using IdeaBlock = std::array<std::uint16_t, 4>;      // X1 .. X4

inline constexpr int kIdeaRounds = 8;
inline constexpr int kIdeaScheduleWords = 52;

// Product modulo 65537, without division.
std::uint16_t IdeaMul(std::uint16_t a, std::uint16_t b);

// Multiplicative inverse modulo 65537; 0 and 1 are their own inverses.
std::uint16_t IdeaInv(std::uint16_t x);

// Encryption schedule: the key rotated left by 25 bits per group of eight words.
IdeaSchedule IdeaExpandKey(const IdeaKey& key);

// Decryption schedule for the same block routine.
IdeaSchedule IdeaInvertKey(const IdeaSchedule& encrypt);

// Enciphers (or, with a decryption schedule, deciphers) one block.
void IdeaCipherBlock(const std::uint16_t in[4], std::uint16_t out[4], const IdeaSchedule& schedule);

}  // namespace varn
