// Compiled with -mavx512f -mavx512bw: 32 blocks per step.
#if defined(__GNUC__) && !defined(__clang__)
// GCC 12's unpack intrinsics pass an "undefined" vector that it then warns about (its PR 105593).
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>

#include "crypt/idea_lanes_kernel.h"

namespace varn::lanes {
namespace {

constexpr int kGroups = 4;  // groups in flight at once

struct Avx512 {
    using V = __m512i;
    static V Load(const unsigned char* p) { return _mm512_loadu_si512(p); }
    static void Store(unsigned char* p, V v) { _mm512_storeu_si512(p, v); }
    static V Set1(std::uint16_t w) { return _mm512_set1_epi16(static_cast<short>(w)); }
    static V Add(V a, V b) { return _mm512_add_epi16(a, b); }
    static V Sub(V a, V b) { return _mm512_sub_epi16(a, b); }
    static V Xor(V a, V b) { return _mm512_xor_si512(a, b); }
    static V Swap(V v) { return _mm512_or_si512(_mm512_slli_epi16(v, 8), _mm512_srli_epi16(v, 8)); }
    static V Unpacklo16(V a, V b) { return _mm512_unpacklo_epi16(a, b); }
    static V Unpackhi16(V a, V b) { return _mm512_unpackhi_epi16(a, b); }
    static V Unpacklo32(V a, V b) { return _mm512_unpacklo_epi32(a, b); }
    static V Unpackhi32(V a, V b) { return _mm512_unpackhi_epi32(a, b); }
    static V Unpacklo64(V a, V b) { return _mm512_unpacklo_epi64(a, b); }
    static V Unpackhi64(V a, V b) { return _mm512_unpackhi_epi64(a, b); }
    // a * k mod 65537 for a subkey k != 0: lo - hi, plus 1 on borrow; a == 0 (65536) gives 1 - k.
    static V Mul(V a, V k, V oneMinusK) {
        const V lo = _mm512_mullo_epi16(a, k);
        const V hi = _mm512_mulhi_epu16(a, k);
        V r = _mm512_sub_epi16(lo, hi);
        r = _mm512_mask_sub_epi16(r, _mm512_cmplt_epu16_mask(lo, hi), r, _mm512_set1_epi16(-1));
        return _mm512_mask_mov_epi16(r, _mm512_testn_epi16_mask(a, a), oneMinusK);
    }
};

}  // namespace

constinit const LanePath kAvx512 = MakeLanePath<Avx512, kGroups>();

}  // namespace varn::lanes
