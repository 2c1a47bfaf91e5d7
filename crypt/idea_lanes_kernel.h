#pragma once

// Lane-parallel IDEA, shared by the per-ISA files. Each including file compiles it with its own
// instruction set, so everything here has internal linkage: no copy can leak into another file.

#include <cstddef>
#include <cstdint>

namespace varn {
namespace {

constexpr int kLaneScheduleWords = 52;
constexpr int kLaneRounds = 8;

// Ops supplies V (a vector of 16-bit lanes) and its primitives; four vectors hold kBlocks blocks.
template <class Ops, bool kSwapIn, bool kSwapOut>
std::size_t CipherLanes(const unsigned char* in, unsigned char* out, std::size_t blocks,
                        const std::uint16_t* z) {
    using V = typename Ops::V;
    constexpr std::size_t kBytes = sizeof(V);
    constexpr std::size_t kBlocks = 4 * kBytes / 8;

    V key[kLaneScheduleWords];
    V oneMinusKey[kLaneScheduleWords];  // the product when either factor is 0 (65536)
    for (int i = 0; i < kLaneScheduleWords; ++i) {
        key[i] = Ops::Set1(z[i]);
        oneMinusKey[i] = Ops::Set1(static_cast<std::uint16_t>(1 - z[i]));
    }

    std::size_t done = 0;
    for (; done + kBlocks <= blocks; done += kBlocks) {
        const unsigned char* src = in + done * 8;
        V r0 = Ops::Load(src);
        V r1 = Ops::Load(src + kBytes);
        V r2 = Ops::Load(src + 2 * kBytes);
        V r3 = Ops::Load(src + 3 * kBytes);
        if constexpr (kSwapIn) {
            r0 = Ops::Swap(r0);
            r1 = Ops::Swap(r1);
            r2 = Ops::Swap(r2);
            r3 = Ops::Swap(r3);
        }
        // Gather word j of every block into xj (within each 128-bit lane).
        V t0 = Ops::Unpacklo16(r0, r1);
        V t1 = Ops::Unpackhi16(r0, r1);
        V t2 = Ops::Unpacklo16(r2, r3);
        V t3 = Ops::Unpackhi16(r2, r3);
        const V a01 = Ops::Unpacklo16(t0, t1);  // words 1,2 of the blocks of r0, r1
        const V a23 = Ops::Unpackhi16(t0, t1);  // words 3,4
        const V b01 = Ops::Unpacklo16(t2, t3);
        const V b23 = Ops::Unpackhi16(t2, t3);
        V x1 = Ops::Unpacklo64(a01, b01);
        V x2 = Ops::Unpackhi64(a01, b01);
        V x3 = Ops::Unpacklo64(a23, b23);
        V x4 = Ops::Unpackhi64(a23, b23);

        int k = 0;
        for (int round = 0; round < kLaneRounds; ++round, k += 6) {
            x1 = Ops::Mul(x1, key[k], oneMinusKey[k]);
            x2 = Ops::Add(x2, key[k + 1]);
            x3 = Ops::Add(x3, key[k + 2]);
            x4 = Ops::Mul(x4, key[k + 3], oneMinusKey[k + 3]);
            V s2 = Ops::Mul(Ops::Xor(x1, x3), key[k + 4], oneMinusKey[k + 4]);
            const V s1 = Ops::Mul(Ops::Add(s2, Ops::Xor(x2, x4)), key[k + 5], oneMinusKey[k + 5]);
            s2 = Ops::Add(s1, s2);
            x1 = Ops::Xor(x1, s1);
            x4 = Ops::Xor(x4, s2);
            s2 = Ops::Xor(s2, x2);
            x2 = Ops::Xor(x3, s1);
            x3 = s2;
        }
        const V y1 = Ops::Mul(x1, key[k], oneMinusKey[k]);
        const V y2 = Ops::Add(x3, key[k + 1]);
        const V y3 = Ops::Add(x2, key[k + 2]);
        const V y4 = Ops::Mul(x4, key[k + 3], oneMinusKey[k + 3]);

        // Back to block order.
        t0 = Ops::Unpacklo16(y1, y2);
        t1 = Ops::Unpacklo16(y3, y4);
        t2 = Ops::Unpackhi16(y1, y2);
        t3 = Ops::Unpackhi16(y3, y4);
        r0 = Ops::Unpacklo32(t0, t1);
        r1 = Ops::Unpackhi32(t0, t1);
        r2 = Ops::Unpacklo32(t2, t3);
        r3 = Ops::Unpackhi32(t2, t3);
        if constexpr (kSwapOut) {
            r0 = Ops::Swap(r0);
            r1 = Ops::Swap(r1);
            r2 = Ops::Swap(r2);
            r3 = Ops::Swap(r3);
        }
        unsigned char* dst = out + done * 8;
        Ops::Store(dst, r0);
        Ops::Store(dst + kBytes, r1);
        Ops::Store(dst + 2 * kBytes, r2);
        Ops::Store(dst + 3 * kBytes, r3);
    }
    return done;
}

}  // namespace
}  // namespace varn
