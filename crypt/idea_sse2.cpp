// Compiled with -msse2: 8 blocks per step.
#include <emmintrin.h>

#include "crypt/idea_lanes_kernel.h"

namespace varn::lanes {
namespace {

constexpr int kGroups = 4;  // groups in flight at once

struct Sse2 {
    using V = __m128i;
    static V Load(const unsigned char* p) { return _mm_loadu_si128(reinterpret_cast<const V*>(p)); }
    static void Store(unsigned char* p, V v) { _mm_storeu_si128(reinterpret_cast<V*>(p), v); }
    static V Set1(std::uint16_t w) { return _mm_set1_epi16(static_cast<short>(w)); }
    static V Add(V a, V b) { return _mm_add_epi16(a, b); }
    static V Sub(V a, V b) { return _mm_sub_epi16(a, b); }
    static V Xor(V a, V b) { return _mm_xor_si128(a, b); }
    static V Swap(V v) { return _mm_or_si128(_mm_slli_epi16(v, 8), _mm_srli_epi16(v, 8)); }
    static V Unpacklo16(V a, V b) { return _mm_unpacklo_epi16(a, b); }
    static V Unpackhi16(V a, V b) { return _mm_unpackhi_epi16(a, b); }
    static V Unpacklo32(V a, V b) { return _mm_unpacklo_epi32(a, b); }
    static V Unpackhi32(V a, V b) { return _mm_unpackhi_epi32(a, b); }
    static V Unpacklo64(V a, V b) { return _mm_unpacklo_epi64(a, b); }
    static V Unpackhi64(V a, V b) { return _mm_unpackhi_epi64(a, b); }
    // a * k mod 65537 for a subkey k != 0: lo - hi, plus 1 on borrow; a == 0 (65536) gives 1 - k.
    static V Mul(V a, V k, V oneMinusK) {
        const V zero = _mm_setzero_si128();
        const V lo = _mm_mullo_epi16(a, k);
        const V hi = _mm_mulhi_epu16(a, k);
        const V noBorrow = _mm_cmpeq_epi16(_mm_subs_epu16(hi, lo), zero);  // -1 where hi <= lo
        const V r =
            _mm_add_epi16(_mm_sub_epi16(lo, _mm_sub_epi16(hi, _mm_set1_epi16(1))), noBorrow);
        // r is 0 where a is 0.
        return _mm_or_si128(r, _mm_and_si128(_mm_cmpeq_epi16(a, zero), oneMinusK));
    }
};

}  // namespace

constinit const LanePath kSse2 = MakeLanePath<Sse2, kGroups>();

}  // namespace varn::lanes
