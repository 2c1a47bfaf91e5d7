#pragma once

#include <cstdint>
#include <cstring>

namespace varn {

// Eight 32-bit counters per byte value, so that equal neighbours do not wait on one counter. Safe
// while one use sees less than 2^32 bytes per lane.
struct ByteLanes {
    ByteLanes() { std::memset(lane, 0, sizeof lane); }

    // Counts the eight bytes of a word, one lane each.
    void AddWord(std::uint64_t w) {
        ++lane[0][w & 0xFF];
        ++lane[1][(w >> 8) & 0xFF];
        ++lane[2][(w >> 16) & 0xFF];
        ++lane[3][(w >> 24) & 0xFF];
        ++lane[4][(w >> 32) & 0xFF];
        ++lane[5][(w >> 40) & 0xFF];
        ++lane[6][(w >> 48) & 0xFF];
        ++lane[7][w >> 56];
    }
    // Adds what the lanes hold to 256 counts.
    template <typename Counts>
    void AddTo(Counts& counts) const {
        for (int c = 0; c < 256; ++c) {
            std::uint64_t sum = 0;
            for (int l = 0; l < 8; ++l) sum += lane[l][c];
            counts[c] += sum;
        }
    }

    alignas(64) std::uint32_t lane[8][256];
};

}  // namespace varn
