#include "text/utf8_pass.h"

#include <cstring>

#include "text/encoding.h"
#include "text/utf8.h"

namespace varn {

void Utf8Counter::Count(char32_t point) {
    if (point < 0x800) {
        ++below800_[point];
    } else if (point >= 0x2000 && point < 0x2200) {
        ++from2000_[point - 0x2000];
    }
}

void Utf8Counter::Feed(const unsigned char* in, std::size_t size) {
    std::size_t i = 0;
    if (carried_ > 0) {
        // The cut sequence with what follows it: a whole character, a longer cut, or invalid.
        unsigned char joined[8];
        std::memcpy(joined, carry_, carried_);
        const std::size_t added = std::min<std::size_t>(size, 4 - carried_);
        std::memcpy(joined + carried_, in, added);
        char32_t point;
        const int length = utf8::Decode(joined, carried_ + added, point);
        if (length == 0) {
            std::memcpy(carry_, joined, carried_ + added);
            carried_ += added;
            return;
        }
        // An invalid lead leaves only continuation bytes behind it, which start nothing.
        if (length > 0) {
            Count(point);
            i = static_cast<std::size_t>(length) - carried_;
        }
        carried_ = 0;
    }
    while (i < size) {
        const unsigned char b = in[i];
        if (b < 0x80) {
            ++below800_[b];
            ++i;
            continue;
        }
        if (b >= 0xC2 && b <= 0xDF && i + 1 < size && (in[i + 1] & 0xC0) == 0x80) {
            ++below800_[((b & 0x1Fu) << 6) | (in[i + 1] & 0x3Fu)];
            i += 2;
            continue;
        }
        char32_t point;
        const int length = utf8::Decode(in + i, size - i, point);
        if (length == 0) {
            carried_ = size - i;
            std::memcpy(carry_, in + i, carried_);
            return;
        }
        if (length < 0) {
            ++i;
            continue;
        }
        Count(point);
        i += static_cast<std::size_t>(length);
    }
}

void Utf8Counter::Finish(const unsigned char* after, std::size_t size) {
    if (carried_ == 0) return;
    unsigned char joined[8];
    std::memcpy(joined, carry_, carried_);
    const std::size_t added = std::min<std::size_t>(size, 4 - carried_);
    if (added > 0) std::memcpy(joined + carried_, after, added);
    char32_t point;
    if (utf8::Decode(joined, carried_ + added, point) > 0) Count(point);
    carried_ = 0;
}

void Utf8Counter::AddTo(ByteCounts& counts) const {
    for (char32_t p = 0; p < below800_.size(); ++p) {
        if (below800_[p] == 0) continue;
        const int code = CodeOfUnicode(p);
        if (code >= 0) counts[static_cast<std::size_t>(code)] += below800_[p];
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
}

Utf8Translator::Utf8Translator(const ByteMap& map, unsigned char none)
    : toCodes_(true), none_(none) {
    for (int c = 0; c < 256; ++c) encoded_[c] = map[c] | (1u << 24);
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
