#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "text/byte_count.h"
#include "text/encoding.h"

namespace varn {

using ByteMap = std::array<unsigned char, 256>;

// Counts the characters of a UTF-8 text by their 8-bit codes, fed buffer by buffer: a sequence
// cut by a buffer's end is completed by the next. Characters outside the code page, invalid bytes
// and a BOM count as nothing (they are no letters).
class Utf8Counter {
  public:
    void Feed(const unsigned char* in, std::size_t size);
    // Completes a sequence cut by the end of the counted part with the bytes that follow it in
    // the file (none at the end of the file); counts no character that starts there.
    void Finish(const unsigned char* after, std::size_t size);
    // Adds the counts by code to `counts`.
    void AddTo(ByteCounts& counts) const;

  private:
    void Count(char32_t point);

    std::array<std::uint64_t, 0x800> below800_{};  // points U+0000..U+07FF
    std::array<std::uint64_t, 0x200> from2000_{};  // points U+2000..U+21FF
    unsigned char carry_[4] = {};
    std::size_t carried_ = 0;
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
    std::size_t One(const unsigned char* in, std::size_t available, bool last, unsigned char* out,
                    std::size_t& o, std::uint64_t& characters);

    // Per code: the UTF-8 of its mapped code in the low bytes, its length in the top byte.
    std::array<std::uint32_t, 256> encoded_{};
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
