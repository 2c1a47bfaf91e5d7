#pragma once

// Lane-parallel IDEA, shared by the per-ISA files. Each including file compiles it with its own
// instruction set, so everything here has internal linkage: no copy can leak into another file.

#include <cstddef>
#include <cstdint>

#include "crypt/idea_lanes.h"

namespace varn {
namespace {

constexpr int kLaneScheduleWords = 52;
constexpr int kLaneRounds = 8;

// One subkey broadcast to every lane, with what a product needs when a factor is 0 (65536).
template <class Ops>
struct LaneKey {
    typename Ops::V word;
    typename Ops::V oneMinusWord;  // the product of 65536 and this word
    bool zero;                     // the word itself is 0: the product is 1 - x
};

// Four vectors hold the blocks of one group; several groups go through each round together so
// that the long multiply chains of one group hide behind those of the others.
template <class Ops, int kGroups>
struct LaneState {
    typename Ops::V x1[kGroups], x2[kGroups], x3[kGroups], x4[kGroups];
};

template <class Ops>
inline typename Ops::V LaneMul(typename Ops::V a, const LaneKey<Ops>& k) {
    if (k.zero) return Ops::Sub(k.oneMinusWord, a);  // 65536 * a == 1 - a (mod 65537)
    return Ops::Mul(a, k.word, k.oneMinusWord);
}

template <class Ops, bool kSwapIn, int kGroups>
inline void LoadGroups(const unsigned char* src, LaneState<Ops, kGroups>& s) {
    using V = typename Ops::V;
    constexpr std::size_t kBytes = sizeof(V);
    for (int g = 0; g < kGroups; ++g, src += 4 * kBytes) {
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
        const V t0 = Ops::Unpacklo16(r0, r1);
        const V t1 = Ops::Unpackhi16(r0, r1);
        const V t2 = Ops::Unpacklo16(r2, r3);
        const V t3 = Ops::Unpackhi16(r2, r3);
        const V a01 = Ops::Unpacklo16(t0, t1);  // words 1, 2 of the blocks of r0, r1
        const V a23 = Ops::Unpackhi16(t0, t1);  // words 3, 4
        const V b01 = Ops::Unpacklo16(t2, t3);
        const V b23 = Ops::Unpackhi16(t2, t3);
        s.x1[g] = Ops::Unpacklo64(a01, b01);
        s.x2[g] = Ops::Unpackhi64(a01, b01);
        s.x3[g] = Ops::Unpacklo64(a23, b23);
        s.x4[g] = Ops::Unpackhi64(a23, b23);
    }
}

template <class Ops, bool kSwapOut, int kGroups>
inline void StoreGroups(unsigned char* dst, const LaneState<Ops, kGroups>& s) {
    using V = typename Ops::V;
    constexpr std::size_t kBytes = sizeof(V);
    for (int g = 0; g < kGroups; ++g, dst += 4 * kBytes) {
        // Back to block order: words 1, x3, x2, 4.
        const V t0 = Ops::Unpacklo16(s.x1[g], s.x3[g]);
        const V t1 = Ops::Unpacklo16(s.x2[g], s.x4[g]);
        const V t2 = Ops::Unpackhi16(s.x1[g], s.x3[g]);
        const V t3 = Ops::Unpackhi16(s.x2[g], s.x4[g]);
        V r0 = Ops::Unpacklo32(t0, t1);
        V r1 = Ops::Unpackhi32(t0, t1);
        V r2 = Ops::Unpacklo32(t2, t3);
        V r3 = Ops::Unpackhi32(t2, t3);
        if constexpr (kSwapOut) {
            r0 = Ops::Swap(r0);
            r1 = Ops::Swap(r1);
            r2 = Ops::Swap(r2);
            r3 = Ops::Swap(r3);
        }
        Ops::Store(dst, r0);
        Ops::Store(dst + kBytes, r1);
        Ops::Store(dst + 2 * kBytes, r2);
        Ops::Store(dst + 3 * kBytes, r3);
    }
}

template <class Ops, int kGroups>
inline void CipherGroups(LaneState<Ops, kGroups>& s, const LaneKey<Ops>* key) {
    using V = typename Ops::V;
    for (int round = 0; round < kLaneRounds; ++round, key += 6) {
        for (int g = 0; g < kGroups; ++g) {
            V x1 = LaneMul<Ops>(s.x1[g], key[0]);
            V x2 = Ops::Add(s.x2[g], key[1].word);
            V x3 = Ops::Add(s.x3[g], key[2].word);
            V x4 = LaneMul<Ops>(s.x4[g], key[3]);
            V t2 = LaneMul<Ops>(Ops::Xor(x1, x3), key[4]);
            const V t1 = LaneMul<Ops>(Ops::Add(t2, Ops::Xor(x2, x4)), key[5]);
            t2 = Ops::Add(t1, t2);
            s.x1[g] = Ops::Xor(x1, t1);
            s.x4[g] = Ops::Xor(x4, t2);
            s.x2[g] = Ops::Xor(x3, t1);
            s.x3[g] = Ops::Xor(t2, x2);
        }
    }
    // Output transformation. It undoes the last exchange of the middle words, so x3 now holds
    // the second output word and x2 the third; StoreGroups takes them crosswise.
    for (int g = 0; g < kGroups; ++g) {
        s.x1[g] = LaneMul<Ops>(s.x1[g], key[0]);
        s.x3[g] = Ops::Add(s.x3[g], key[1].word);
        s.x2[g] = Ops::Add(s.x2[g], key[2].word);
        s.x4[g] = LaneMul<Ops>(s.x4[g], key[3]);
    }
}

// Ciphers whole steps of kGroups groups, then single groups; returns the blocks done.
template <class Ops, bool kSwapIn, bool kSwapOut, int kGroups>
std::size_t CipherLanes(const unsigned char* in, unsigned char* out, std::size_t blocks,
                        const std::uint16_t* z) {
    using V = typename Ops::V;
    constexpr std::size_t kGroupBlocks = 4 * sizeof(V) / 8;

    LaneKey<Ops> key[kLaneScheduleWords];
    for (int i = 0; i < kLaneScheduleWords; ++i) {
        key[i] = {Ops::Set1(z[i]), Ops::Set1(static_cast<std::uint16_t>(1 - z[i])), z[i] == 0};
    }

    std::size_t done = 0;
    for (; done + kGroups * kGroupBlocks <= blocks; done += kGroups * kGroupBlocks) {
        LaneState<Ops, kGroups> s;
        LoadGroups<Ops, kSwapIn>(in + done * 8, s);
        CipherGroups<Ops>(s, key);
        StoreGroups<Ops, kSwapOut>(out + done * 8, s);
    }
    for (; done + kGroupBlocks <= blocks; done += kGroupBlocks) {
        LaneState<Ops, 1> s;
        LoadGroups<Ops, kSwapIn>(in + done * 8, s);
        CipherGroups<Ops>(s, key);
        StoreGroups<Ops, kSwapOut>(out + done * 8, s);
    }
    return done;
}

// Both directions of one instruction set: plaintext words are swapped on the way in, cipher
// words on the way out.
template <class Ops, int kGroups>
constexpr lanes::LanePath MakeLanePath() {
    return {&CipherLanes<Ops, true, false, kGroups>, &CipherLanes<Ops, false, true, kGroups>};
}

}  // namespace
}  // namespace varn
