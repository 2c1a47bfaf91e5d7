#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "text/byte_count.h"
#include "text/encoding.h"

namespace varn {

using ByteMap = std::array<unsigned char, 256>;

// Counts the characters of a UTF-8 text by their 8-bit codes, any stretch of the text at a time.
// Characters outside the code page, invalid bytes and a BOM count as nothing (they are no
// letters). A character is told by the byte it starts with, the one before and the two after it,
// so stretches counted apart add up to the count of the whole.
class Utf8Counter {
  public:
    // Counts the characters that start at p[0, size) (a two-byte Cyrillic one half at each of
    // its bytes). p[-1], p[size] and p[size + 1] must be readable: the neighbours in the file,
    // or 0 where the file has none.
    void Count(const unsigned char* p, std::size_t size);
    // Adds the counts by code to `counts`.
    void AddTo(ByteCounts& counts) const;

  private:
    void CountOne(const unsigned char* p);

    // ASCII by byte; Cyrillic two-byte characters (lead 0xD0 or 0xD1) by 128 + their point
    // - U+0400, counted once at each of their two bytes.
    std::array<std::uint64_t, 256> halves_{};
    std::array<std::uint64_t, 0x800> twoByte_{};   // other two-byte points
    std::array<std::uint64_t, 0x200> from2000_{};  // three-byte points U+2000..U+21FF
};

// Translates a UTF-8 text through a map on 8-bit codes, buffer by buffer: each character with a
// code becomes the UTF-8 of its mapped code; characters without one, invalid bytes and a BOM are
// copied as they are. One character per sequence or passed-through byte is delivered.
class Utf8Translator {
  public:
    explicit Utf8Translator(const ByteMap& map);
    // Writes each code itself rather than its UTF-8, and `none` for every character without a
    // code and every invalid byte: a decoder into codes.
    Utf8Translator(const ByteMap& map, unsigned char none);
    // The output bytes one call can write at most for `size` input bytes.
    static constexpr std::size_t Capacity(std::size_t size) { return 3 * size + 16; }
    // `last`: no more input follows, so a cut sequence at the end is passed through.
    std::size_t Translate(const unsigned char* in, std::size_t size, bool last, unsigned char* out,
                          std::uint64_t& characters);

  private:
    void FillTwoByte();
    std::size_t Block(const unsigned char* in, unsigned char* out, std::uint64_t& characters) const;
    std::size_t WideBlock(const unsigned char* in, unsigned char* out,
                          std::uint64_t& characters) const;
    std::size_t One(const unsigned char* in, std::size_t available, bool last, unsigned char* out,
                    std::size_t& o, std::uint64_t& characters);

    // Per code: the UTF-8 of its mapped code in the low bytes, its length in the top byte.
    std::array<std::uint32_t, 256> encoded_{};
    // The same per two-byte point (U+0080..U+07FF): its mapped code's, or its own bytes.
    std::array<std::uint32_t, 0x800> twoByte_{};
    // When every ASCII and Cyrillic two-byte character keeps its length (`sameLengths_`): the
    // byte written for an ASCII byte, and for the lead and the continuation of each point
    // U+0400..U+047F.
    unsigned char sameLength_[3][128] = {};
    bool sameLengths_ = false;
    bool wide_ = false;  // the processor looks up 64 bytes at a time
    bool toCodes_ = false;
    unsigned char none_ = 0;
    unsigned char carry_[4] = {};
    std::size_t carried_ = 0;
};

// Reads a text in any of the encodings as 8-bit codes, buffer by buffer: one code per
// character that has one, `none` for every other character (and every invalid UTF-8 byte).
class CodeReader {
  public:
    CodeReader(Encoding encoding, unsigned char none);
    // The output bytes one call can write at most for `size` input bytes.
    static constexpr std::size_t Capacity(std::size_t size) { return size + 4; }
    std::size_t Read(const unsigned char* in, std::size_t size, bool last, unsigned char* out);

  private:
    Encoding encoding_;
    ByteMap byteCode_{};  // the 8-bit pages
    Utf8Translator utf8_;
};

}  // namespace varn
