// Compiled with -mavx2: 16 blocks per step.
#include <immintrin.h>

#include "crypt/idea_lanes_kernel.h"

namespace varn::lanes {
namespace {

constexpr int kGroups = 4;  // groups in flight at once

struct Avx2 {
    using V = __m256i;
    static V Load(const unsigned char* p) {
        return _mm256_loadu_si256(reinterpret_cast<const V*>(p));
    }
    static void Store(unsigned char* p, V v) { _mm256_storeu_si256(reinterpret_cast<V*>(p), v); }
    static V Set1(std::uint16_t w) { return _mm256_set1_epi16(static_cast<short>(w)); }
    static V Add(V a, V b) { return _mm256_add_epi16(a, b); }
    static V Sub(V a, V b) { return _mm256_sub_epi16(a, b); }
    static V Xor(V a, V b) { return _mm256_xor_si256(a, b); }
    static V Swap(V v) { return _mm256_or_si256(_mm256_slli_epi16(v, 8), _mm256_srli_epi16(v, 8)); }
    static V Unpacklo16(V a, V b) { return _mm256_unpacklo_epi16(a, b); }
    static V Unpackhi16(V a, V b) { return _mm256_unpackhi_epi16(a, b); }
    static V Unpacklo32(V a, V b) { return _mm256_unpacklo_epi32(a, b); }
    static V Unpackhi32(V a, V b) { return _mm256_unpackhi_epi32(a, b); }
    static V Unpacklo64(V a, V b) { return _mm256_unpacklo_epi64(a, b); }
    static V Unpackhi64(V a, V b) { return _mm256_unpackhi_epi64(a, b); }
    // a * k mod 65537 for a subkey k != 0: lo - hi, plus 1 on borrow; a == 0 (65536) gives 1 - k.
    static V Mul(V a, V k, V oneMinusK) {
        const V lo = _mm256_mullo_epi16(a, k);
        const V hi = _mm256_mulhi_epu16(a, k);
        const V borrow = _mm256_min_epu16(_mm256_subs_epu16(hi, lo), _mm256_set1_epi16(1));
        const V r = _mm256_add_epi16(_mm256_sub_epi16(lo, hi), borrow);
        // r is 0 where a is 0.
        const V aZero = _mm256_cmpeq_epi16(a, _mm256_setzero_si256());
        return _mm256_or_si256(r, _mm256_and_si256(aZero, oneMinusK));
    }
};

}  // namespace

constinit const LanePath kAvx2 = MakeLanePath<Avx2, kGroups>();

}  // namespace varn::lanes
