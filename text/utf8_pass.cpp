#include "text/utf8_pass.h"

#include <cstring>
#ifdef __x86_64__
#include <immintrin.h>
#endif

#include "text/byte_lanes.h"
#include "text/encoding.h"
#include "text/utf8.h"

namespace varn {

namespace {

inline bool IsContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}
inline bool IsCyrillicLead(unsigned char b) {
    return (b & 0xFE) == 0xD0;
}
inline unsigned char CyrillicBin(unsigned char lead, unsigned char continuation) {
    return static_cast<unsigned char>(0x80 | ((lead & 1) << 6) | (continuation & 0x3F));
}

}  // namespace

// The rules at one byte; see the class.
void Utf8Counter::CountOne(const unsigned char* p) {
    const unsigned char a = p[0];
    if (a < 0x80) {
        ++halves_[a];
    } else if (IsContinuation(a)) {
        if (IsCyrillicLead(p[-1])) ++halves_[CyrillicBin(p[-1], a)];
    } else if (IsCyrillicLead(a)) {
        if (IsContinuation(p[1])) ++halves_[CyrillicBin(a, p[1])];
    } else if (a >= 0xC2 && a <= 0xDF) {
        if (IsContinuation(p[1])) ++twoByte_[((a & 0x1Fu) << 6) | (p[1] & 0x3Fu)];
    } else if (a == 0xE2 && IsContinuation(p[1]) && IsContinuation(p[2])) {
        // Of the three-byte sequences only these hold characters with codes.
        const char32_t point = 0x2000u | ((p[1] & 0x3Fu) << 6) | (p[2] & 0x3Fu);
        if (point < 0x2200) ++from2000_[point - 0x2000];
    }
}

void Utf8Counter::Count(const unsigned char* p, std::size_t size) {
    ByteLanes lanes;  // for the blocks
    std::size_t i = 0;
#ifdef __SSE2__
    const __m128i c0 = _mm_set1_epi8(static_cast<char>(0xC0));
    const __m128i x80 = _mm_set1_epi8(static_cast<char>(0x80));
    const __m128i fe = _mm_set1_epi8(static_cast<char>(0xFE));
    const __m128i d0 = _mm_set1_epi8(static_cast<char>(0xD0));
    const __m128i one = _mm_set1_epi8(1);
    const __m128i x40 = _mm_set1_epi8(0x40);
    const __m128i x3f = _mm_set1_epi8(0x3F);
    // A block is counted here when every byte is ASCII or half of a Cyrillic two-byte character;
    // the rest goes byte by byte.
    for (; i + 16 <= size; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const auto high = static_cast<unsigned>(_mm_movemask_epi8(v));
        const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i - 1));
        const __m128i after = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 1));
        const __m128i lead = _mm_and_si128(_mm_cmpeq_epi8(_mm_and_si128(v, fe), d0),
                                           _mm_cmpeq_epi8(_mm_and_si128(after, c0), x80));
        const __m128i cont = _mm_and_si128(_mm_cmpeq_epi8(_mm_and_si128(v, c0), x80),
                                           _mm_cmpeq_epi8(_mm_and_si128(before, fe), d0));
        const __m128i halves = _mm_or_si128(lead, cont);
        if (static_cast<unsigned>(_mm_movemask_epi8(halves)) != high) {
            for (std::size_t k = i; k < i + 16; ++k) CountOne(p + k);
            continue;
        }
        // The lead's or the continuation's pair, as its bin.
        const __m128i leadByte = _mm_or_si128(_mm_and_si128(lead, v), _mm_and_si128(cont, before));
        const __m128i low = _mm_or_si128(_mm_and_si128(lead, after), _mm_and_si128(cont, v));
        const __m128i odd = _mm_and_si128(_mm_cmpeq_epi8(_mm_and_si128(leadByte, one), one), x40);
        const __m128i bin = _mm_or_si128(x80, _mm_or_si128(odd, _mm_and_si128(low, x3f)));
        const __m128i bins = _mm_or_si128(_mm_and_si128(halves, bin), _mm_andnot_si128(halves, v));
        const auto a = static_cast<std::uint64_t>(_mm_cvtsi128_si64(bins));
        const auto b =
            static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(bins, bins)));
        lanes.AddWord(a);
        lanes.AddWord(b);
    }
#endif
    for (; i < size; ++i) CountOne(p + i);
    // A character cut by an end of the stretch belongs whole to the stretch that holds its lead.
    if (size > 0 && IsCyrillicLead(p[size - 1]) && IsContinuation(p[size]))
        ++halves_[CyrillicBin(p[size - 1], p[size])];
    if (size > 0 && IsCyrillicLead(p[-1]) && IsContinuation(p[0]))
        --halves_[CyrillicBin(p[-1], p[0])];
    lanes.AddTo(halves_);
}

void Utf8Counter::AddTo(ByteCounts& counts) const {
    for (std::size_t b = 0; b < 128; ++b) counts[b] += halves_[b];
    for (std::size_t bin = 128; bin < 256; ++bin) {
        if (halves_[bin] == 0) continue;
        const int code = CodeOfUnicode(static_cast<char32_t>(0x400 + (bin - 128)));
        if (code >= 0) counts[static_cast<std::size_t>(code)] += halves_[bin] / 2;
    }
    for (char32_t point = 0; point < twoByte_.size(); ++point) {
        if (twoByte_[point] == 0) continue;
        const int code = CodeOfUnicode(point);
        if (code >= 0) counts[static_cast<std::size_t>(code)] += twoByte_[point];
    }
    for (char32_t p = 0; p < from2000_.size(); ++p) {
        if (from2000_[p] == 0) continue;
        const int code = CodeOfUnicode(0x2000 + p);
        if (code >= 0) counts[static_cast<std::size_t>(code)] += from2000_[p];
    }
}

Utf8Translator::Utf8Translator(const ByteMap& map) {
    for (int c = 0; c < 256; ++c) {
        unsigned char bytes[4] = {};
        const int length = utf8::Encode(UnicodeOfCode(map[c]), bytes);
        std::uint32_t packed = 0;
        std::memcpy(&packed, bytes, 3);
        encoded_[c] = packed | (static_cast<std::uint32_t>(length) << 24);
    }
    FillTwoByte();
}

#ifdef __SSE2__
// 16 bytes (15 when the last is a lead) that hold only ASCII and Cyrillic two-byte characters,
// each written as its mapped character of the same length by one lookup per byte; 0 for any
// other block. in[-1] and in[16] must be readable.
std::size_t Utf8Translator::Block(const unsigned char* in, unsigned char* out,
                                  std::uint64_t& characters) const {
    const __m128i c0 = _mm_set1_epi8(static_cast<char>(0xC0));
    const __m128i x80 = _mm_set1_epi8(static_cast<char>(0x80));
    const __m128i fe = _mm_set1_epi8(static_cast<char>(0xFE));
    const __m128i d0 = _mm_set1_epi8(static_cast<char>(0xD0));
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));  // in the block
    const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in - 1));
    const __m128i after = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 1));
    const __m128i leadVector = _mm_and_si128(_mm_cmpeq_epi8(_mm_and_si128(v, fe), d0),
                                             _mm_cmpeq_epi8(_mm_and_si128(after, c0), x80));
    const __m128i contVector = _mm_and_si128(_mm_cmpeq_epi8(_mm_and_si128(v, c0), x80),
                                             _mm_cmpeq_epi8(_mm_and_si128(before, fe), d0));
    const auto high = static_cast<unsigned>(_mm_movemask_epi8(v));
    const auto leads = static_cast<unsigned>(_mm_movemask_epi8(leadVector));
    const auto conts = static_cast<unsigned>(_mm_movemask_epi8(contVector));
    if ((leads | conts) != high) return 0;
    // Each byte's row (ASCII, lead, continuation) and column (the byte, or its character's
    // point - U+0400), without a branch per byte.
    const __m128i one = _mm_set1_epi8(1);
    const __m128i halves = _mm_or_si128(leadVector, contVector);
    const __m128i leadByte =
        _mm_or_si128(_mm_and_si128(leadVector, v), _mm_and_si128(contVector, before));
    const __m128i low =
        _mm_or_si128(_mm_and_si128(leadVector, after), _mm_and_si128(contVector, v));
    const __m128i bin = _mm_or_si128(
        _mm_and_si128(_mm_cmpeq_epi8(_mm_and_si128(leadByte, one), one), _mm_set1_epi8(0x40)),
        _mm_and_si128(low, _mm_set1_epi8(0x3F)));
    const __m128i column = _mm_or_si128(_mm_and_si128(halves, bin), _mm_andnot_si128(halves, v));
    const __m128i row =
        _mm_or_si128(_mm_and_si128(leadVector, one), _mm_and_si128(contVector, _mm_set1_epi8(2)));
    alignas(16) unsigned char columns[16];
    alignas(16) unsigned char rows[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(columns), column);
    _mm_store_si128(reinterpret_cast<__m128i*>(rows), row);
    // Bytes written: all 16, or 15 when a character goes on past the block.
    const std::size_t took = (leads & 0x8000) != 0 ? 15 : 16;
    for (std::size_t k = 0; k < 16; ++k) out[k] = sameLength_[rows[k]][columns[k]];
    const unsigned mask = took == 16 ? 0xFFFFu : 0x7FFFu;
    characters += static_cast<unsigned>(__builtin_popcount((~high | leads) & mask));
    return took;
}
#endif

#ifdef __x86_64__
// The same 64 bytes at a time (63 when the last is a lead), the three rows looked up in 128-byte
// tables at once.
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) std::size_t Utf8Translator::WideBlock(
    const unsigned char* in, unsigned char* out, std::uint64_t& characters) const {
    const __m512i c0 = _mm512_set1_epi8(static_cast<char>(0xC0));
    const __m512i x80 = _mm512_set1_epi8(static_cast<char>(0x80));
    const __m512i fe = _mm512_set1_epi8(static_cast<char>(0xFE));
    const __m512i d0 = _mm512_set1_epi8(static_cast<char>(0xD0));
    const __m512i v = _mm512_loadu_si512(in);
    const __m512i before = _mm512_loadu_si512(in - 1);
    const __m512i after = _mm512_loadu_si512(in + 1);
    const __mmask64 leads = _mm512_cmpeq_epi8_mask(_mm512_and_si512(v, fe), d0) &
                            _mm512_cmpeq_epi8_mask(_mm512_and_si512(after, c0), x80);
    const __mmask64 conts = _mm512_cmpeq_epi8_mask(_mm512_and_si512(v, c0), x80) &
                            _mm512_cmpeq_epi8_mask(_mm512_and_si512(before, fe), d0);
    const __mmask64 high = _mm512_movepi8_mask(v);
    if ((leads | conts) != high) return 0;
    const __m512i zero = _mm512_setzero_si512();
    const __m512i leadByte =
        _mm512_mask_blend_epi8(conts, _mm512_mask_blend_epi8(leads, zero, v), before);
    const __m512i low =
        _mm512_mask_blend_epi8(conts, _mm512_mask_blend_epi8(leads, zero, after), v);
    const __mmask64 odd = _mm512_test_epi8_mask(leadByte, _mm512_set1_epi8(1));
    const __m512i bin = _mm512_or_si512(_mm512_maskz_mov_epi8(odd, _mm512_set1_epi8(0x40)),
                                        _mm512_and_si512(low, _mm512_set1_epi8(0x3F)));
    const __m512i column = _mm512_mask_blend_epi8(leads | conts, v, bin);
    const auto* t = &sameLength_[0][0];
    const __m512i ascii =
        _mm512_permutex2var_epi8(_mm512_loadu_si512(t), column, _mm512_loadu_si512(t + 64));
    const __m512i lead =
        _mm512_permutex2var_epi8(_mm512_loadu_si512(t + 128), column, _mm512_loadu_si512(t + 192));
    const __m512i cont =
        _mm512_permutex2var_epi8(_mm512_loadu_si512(t + 256), column, _mm512_loadu_si512(t + 320));
    _mm512_storeu_si512(
        out, _mm512_mask_blend_epi8(conts, _mm512_mask_blend_epi8(leads, ascii, lead), cont));
    const std::size_t took = (leads >> 63) != 0 ? 63 : 64;
    const std::uint64_t mask = took == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << 63) - 1;
    characters += static_cast<std::uint64_t>(__builtin_popcountll((~high | leads) & mask));
    return took;
}
#endif

void Utf8Translator::FillTwoByte() {
    for (char32_t point = 0x80; point < 0x800; ++point) {
        const int code = CodeOfUnicode(point);
        if (code >= 0) {
            twoByte_[point] = encoded_[static_cast<std::size_t>(code)];
        } else if (toCodes_) {
            twoByte_[point] = none_ | (1u << 24);
        } else {
            unsigned char bytes[4] = {};
            utf8::Encode(point, bytes);
            std::uint32_t packed = 0;
            std::memcpy(&packed, bytes, 2);
            twoByte_[point] = packed | (2u << 24);
        }
    }
    // Blocks go by lookup when ASCII stays one byte and a Cyrillic two-byte character two.
#ifdef __x86_64__
    wide_ = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
            __builtin_cpu_supports("avx512vbmi");
#endif
    sameLengths_ = !toCodes_;
    for (int c = 0; c < 128; ++c) sameLengths_ = sameLengths_ && (encoded_[c] >> 24) == 1;
    for (unsigned bin = 0; bin < 128; ++bin) {
        const std::uint32_t e = twoByte_[0x400 + bin];
        sameLengths_ = sameLengths_ && (e >> 24) == 2;
        sameLength_[0][bin] = static_cast<unsigned char>(encoded_[bin]);
        sameLength_[1][bin] = static_cast<unsigned char>(e);
        sameLength_[2][bin] = static_cast<unsigned char>(e >> 8);
    }
}

Utf8Translator::Utf8Translator(const ByteMap& map, unsigned char none)
    : toCodes_(true), none_(none) {
    for (int c = 0; c < 256; ++c) encoded_[c] = map[c] | (1u << 24);
    FillTwoByte();
}

// One sequence (or passed-through byte) at `in`; returns the input bytes it took, 0 when a cut
// sequence needs more input.
std::size_t Utf8Translator::One(const unsigned char* in, std::size_t available, bool last,
                                unsigned char* out, std::size_t& o, std::uint64_t& characters) {
    char32_t point;
    int length = utf8::Decode(in, available, point);
    if (length == 0 && !last) return 0;
    ++characters;
    if (length <= 0) {
        out[o++] = toCodes_ ? none_ : in[0];
        return 1;
    }
    const int code = CodeOfUnicode(point);
    if (code < 0 && toCodes_) {
        out[o++] = none_;
    } else if (code < 0) {
        std::memcpy(out + o, in, static_cast<std::size_t>(length));
        o += static_cast<std::size_t>(length);
    } else {
        const std::uint32_t e = encoded_[static_cast<std::size_t>(code)];
        std::memcpy(out + o, &e, 4);  // scratch room past the end: see Capacity
        o += e >> 24;
    }
    return static_cast<std::size_t>(length);
}

std::size_t Utf8Translator::Translate(const unsigned char* in, std::size_t size, bool last,
                                      unsigned char* out, std::uint64_t& characters) {
    std::size_t o = 0;
    std::size_t i = 0;
    if (carried_ > 0) {
        unsigned char joined[8];
        std::memcpy(joined, carry_, carried_);
        const std::size_t added = std::min<std::size_t>(size, 4 - carried_);
        std::memcpy(joined + carried_, in, added);
        const std::size_t total = carried_ + added;
        std::size_t j = 0;
        // Sequences that start in the carried bytes.
        while (j < carried_) {
            const std::size_t took = One(joined + j, total - j, last, out, o, characters);
            if (took == 0) {
                // Still cut: only a sequence from the first carried byte can be, and then all of
                // `in` is in `joined` by now.
                std::memmove(carry_, joined + j, total - j);
                carried_ = total - j;
                return o;
            }
            j += took;
        }
        i = j - carried_;
        carried_ = 0;
    }
    // ASCII and two-byte characters by one lookup each, while two bytes can be looked at.
    while (i + 1 < size) {
#ifdef __x86_64__
        if (sameLengths_ && wide_ && i >= 1 && i + 65 <= size) {
            const std::size_t took = WideBlock(in + i, out + o, characters);
            if (took > 0) {
                i += took;
                o += took;
                continue;
            }
        }
#endif
#ifdef __SSE2__
        if (sameLengths_ && i >= 1 && i + 17 <= size) {
            const std::size_t took = Block(in + i, out + o, characters);
            if (took > 0) {
                i += took;
                o += took;
                continue;
            }
        }
#endif
        const unsigned char b = in[i];
        const unsigned char next = in[i + 1];
        const bool two = b >= 0xC2 && b <= 0xDF && (next & 0xC0) == 0x80;
        if (b >= 0x80 && !two) {
            const std::size_t took = One(in + i, size - i, last, out, o, characters);
            if (took == 0) {
                carried_ = size - i;
                std::memcpy(carry_, in + i, carried_);
                return o;
            }
            i += took;
            continue;
        }
        const std::uint32_t e = two ? twoByte_[((b & 0x1Fu) << 6) | (next & 0x3Fu)] : encoded_[b];
        std::memcpy(out + o, &e, 4);
        o += e >> 24;
        ++characters;
        i += two ? 2 : 1;
    }
    while (i < size) {
        const unsigned char b = in[i];
        if (b < 0x80) {
            const std::uint32_t e = encoded_[b];
            std::memcpy(out + o, &e, 4);
            o += e >> 24;
            ++characters;
            ++i;
            continue;
        }
        const std::size_t took = One(in + i, size - i, last, out, o, characters);
        if (took == 0) {
            carried_ = size - i;
            std::memcpy(carry_, in + i, carried_);
            break;
        }
        i += took;
    }
    return o;
}

namespace {
ByteMap IdentityMap() {
    ByteMap map{};
    for (int b = 0; b < 256; ++b) map[b] = static_cast<unsigned char>(b);
    return map;
}
}  // namespace

CodeReader::CodeReader(Encoding encoding, unsigned char none)
    : encoding_(encoding), utf8_(IdentityMap(), none) {
    const CodePage& page = PageOf(encoding);
    for (int b = 0; b < 256; ++b)
        byteCode_[b] = page.toCode[b] >= 0 ? static_cast<unsigned char>(page.toCode[b]) : none;
}

std::size_t CodeReader::Read(const unsigned char* in, std::size_t size, bool last,
                             unsigned char* out) {
    if (encoding_ == Encoding::Utf8) {
        std::uint64_t characters = 0;
        return utf8_.Translate(in, size, last, out, characters);
    }
    for (std::size_t i = 0; i < size; ++i) out[i] = byteCode_[in[i]];
    return size;
}

}  // namespace varn
