#include "crypt/idea.h"

namespace varn {

std::uint16_t IdeaMul(std::uint16_t a, std::uint16_t b) {
    if (a == 0) return static_cast<std::uint16_t>(1 - b);
    if (b == 0) return static_cast<std::uint16_t>(1 - a);
    const std::uint32_t p = std::uint32_t{a} * b;
    const std::uint16_t lo = static_cast<std::uint16_t>(p);
    const std::uint16_t hi = static_cast<std::uint16_t>(p >> 16);
    // 65536 == -1 (mod 65537), so lo + 65536 * hi == lo - hi.
    return static_cast<std::uint16_t>(lo - hi + (lo < hi ? 1 : 0));
}

std::uint16_t IdeaInv(std::uint16_t value) {
    // Extended Euclid on 65537 and x; t0/t1 track the coefficients of x.
    std::uint32_t x = value;
    if (x <= 1) return static_cast<std::uint16_t>(x);
    std::uint32_t t1 = 65537u / x;
    std::uint32_t y = 65537u % x;
    if (y == 1) return static_cast<std::uint16_t>(1 - t1);
    std::uint32_t t0 = 1;
    do {
        std::uint32_t q = x / y;
        x %= y;
        t0 += q * t1;
        if (x == 1) return static_cast<std::uint16_t>(t0);
        q = y / x;
        y %= x;
        t1 += q * t0;
    } while (y != 1);
    return static_cast<std::uint16_t>(1 - t1);
}

IdeaSchedule IdeaExpandKey(const IdeaKey& key) {
    IdeaSchedule z{};
    for (int i = 0; i < 8; ++i) z[i] = key[i];
    for (int i = 8; i < kIdeaScheduleWords; ++i) {
        // Word i of a group is built from words i+1 and i+2 of the group before, wrapping at 8.
        const int group = i - i % 8 - 8;
        const std::uint16_t p1 = z[group + (i + 1) % 8];
        const std::uint16_t p2 = z[group + (i + 2) % 8];
        z[i] = static_cast<std::uint16_t>((p1 << 9) | (p2 >> 7));
    }
    return z;
}

IdeaSchedule IdeaInvertKey(const IdeaSchedule& ek) {
    auto neg = [](std::uint16_t v) { return static_cast<std::uint16_t>(0 - v); };
    // Filled in as the returned value: no working copy of key material is left to wipe.
    IdeaSchedule dk{};
    for (int round = 0; round <= kIdeaRounds; ++round) {
        // Decryption round r undoes encryption round 8 - r (round 8 being the output step).
        const std::uint16_t* e = ek.data() + 6 * (kIdeaRounds - round);
        std::uint16_t* d = dk.data() + 6 * round;
        // The rounds exchange the middle words; the first and last key groups do not.
        const bool outer = round == 0 || round == kIdeaRounds;
        d[0] = IdeaInv(e[0]);
        d[1] = neg(e[outer ? 1 : 2]);
        d[2] = neg(e[outer ? 2 : 1]);
        d[3] = IdeaInv(e[3]);
        if (round < kIdeaRounds) {
            // The multiply-add keys of the encryption round before.
            d[4] = e[-2];
            d[5] = e[-1];
        }
    }
    return dk;
}

void IdeaCipherBlock(const std::uint16_t in[4], std::uint16_t out[4], const IdeaSchedule& z) {
    std::uint16_t x1 = in[0], x2 = in[1], x3 = in[2], x4 = in[3];
    const std::uint16_t* k = z.data();
    for (int round = 0; round < kIdeaRounds; ++round, k += 6) {
        x1 = IdeaMul(x1, k[0]);
        x2 = static_cast<std::uint16_t>(x2 + k[1]);
        x3 = static_cast<std::uint16_t>(x3 + k[2]);
        x4 = IdeaMul(x4, k[3]);
        std::uint16_t t2 = IdeaMul(x1 ^ x3, k[4]);
        const std::uint16_t t1 = IdeaMul(static_cast<std::uint16_t>(t2 + (x2 ^ x4)), k[5]);
        t2 = static_cast<std::uint16_t>(t1 + t2);
        x1 ^= t1;
        x4 ^= t2;
        t2 ^= x2;
        x2 = x3 ^ t1;
        x3 = t2;
    }
    out[0] = IdeaMul(x1, k[0]);
    out[1] = static_cast<std::uint16_t>(x3 + k[1]);
    out[2] = static_cast<std::uint16_t>(x2 + k[2]);
    out[3] = IdeaMul(x4, k[3]);
}

}  // namespace varn
