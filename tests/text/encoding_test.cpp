#include "text/encoding.h"

#include <gtest/gtest.h>
#include <iconv.h>
#include <unistd.h>

#include <random>
#include <string>

#include "text/utf8_pass.h"

namespace varn {
namespace {

// The code point of one byte by the C library's iconv, or -1 where it has none.
long IconvPoint(const char* page, unsigned char byte) {
    iconv_t cd = iconv_open("UTF-32LE", page);
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1)) << page;
    char in[1] = {static_cast<char>(byte)};
    unsigned char out[8] = {};
    char* inp = in;
    char* outp = reinterpret_cast<char*>(out);
    std::size_t inLeft = 1;
    std::size_t outLeft = sizeof out;
    const std::size_t done = iconv(cd, &inp, &inLeft, &outp, &outLeft);
    iconv_close(cd);
    if (done == static_cast<std::size_t>(-1) || outLeft != 4) return -1;
    return out[0] | (out[1] << 8) | (out[2] << 16) | (static_cast<long>(out[3]) << 24);
}

TEST(CodePageTest, EveryByteMatchesIconv) {
    const struct {
        Encoding encoding;
        const char* iconvName;
    } pages[] = {
        {Encoding::Windows1251, "CP1251"}, {Encoding::Koi8r, "KOI8-R"}, {Encoding::Cp866, "CP866"}};
    for (const auto& page : pages) {
        for (int b = 0; b < 256; ++b) {
            SCOPED_TRACE(testing::Message() << page.iconvName << " byte " << b);
            const long expected = IconvPoint(page.iconvName, static_cast<unsigned char>(b));
            const std::string one(1, static_cast<char>(b));
            std::string utf8 = TextToUtf8(one, page.encoding);
            char32_t point = 0;
            for (const unsigned char c : utf8) {
                point = (c & 0xC0) == 0x80 ? (point << 6) | (c & 0x3F)
                        : c >= 0xE0        ? c & 0x0F
                        : c >= 0xC0        ? c & 0x1F
                                           : c;
            }
            if (page.encoding == Encoding::Windows1251 && b == 0x98) {
                EXPECT_EQ(expected, -1);  // undefined; the program lets it stand for U+0098
                EXPECT_EQ(point, 0x98u);
                continue;
            }
            EXPECT_EQ(static_cast<long>(point), expected);
            // And back: the character's code, through the page, is the byte again.
            std::string missing;
            EXPECT_EQ(Utf8ToText(utf8, page.encoding, missing), one);
            EXPECT_TRUE(missing.empty());
        }
    }
}

// "Жёлтый Ёж!" in Windows-1251 and UTF-8.
const std::string kWindows1251 = "\xC6\xB8\xEB\xF2\xFB\xE9 \xA8\xE6!";
const std::string kUtf8 = "Жёлтый Ёж!";

ByteMap Identity() {
    ByteMap map{};
    for (int b = 0; b < 256; ++b) map[b] = static_cast<unsigned char>(b);
    return map;
}

// Feeds `in` to a translator in pieces of `piece` bytes.
std::string TranslateInPieces(const std::string& in, const ByteMap& map, std::size_t piece,
                              std::uint64_t& characters) {
    Utf8Translator translator(map);
    std::string out;
    characters = 0;
    for (std::size_t at = 0;; at += piece) {
        const std::size_t size = at < in.size() ? std::min(piece, in.size() - at) : 0;
        std::string buffer(Utf8Translator::Capacity(size), '\0');
        const bool last = at + size >= in.size();
        const std::size_t n = translator.Translate(
            reinterpret_cast<const unsigned char*>(in.data() + std::min(at, in.size())), size, last,
            reinterpret_cast<unsigned char*>(buffer.data()), characters);
        out.append(buffer, 0, n);
        if (last) break;
    }
    return out;
}

TEST(Utf8TranslatorTest, SequencesCutByEveryBufferEndComeOutWhole) {
    // A map that swaps capital and small Cyrillic letters.
    ByteMap swap = Identity();
    for (int c = 0xC0; c <= 0xDF; ++c) {
        swap[c] = static_cast<unsigned char>(c + 32);
        swap[c + 32] = static_cast<unsigned char>(c);
    }
    swap[0xA8] = 0xB8;
    swap[0xB8] = 0xA8;
    // Characters outside the page (U+263A, U+1F600), a BOM, invalid bytes and a cut sequence
    // at the end pass through unchanged.
    const std::string in = "\xEF\xBB\xBF" + kUtf8 + " \xE2\x98\xBA \xF0\x9F\x98\x80 \xC0\x80 \xFF" +
                           kUtf8 + "\xE2\x82";
    const std::string expected =
        "\xEF\xBB\xBF"
        "жЁЛТЫЙ ёЖ! \xE2\x98\xBA \xF0\x9F\x98\x80 \xC0\x80 \xFF"
        "жЁЛТЫЙ ёЖ!\xE2\x82";
    for (std::size_t piece = 1; piece <= in.size(); ++piece) {
        SCOPED_TRACE(testing::Message() << "piece " << piece);
        std::uint64_t characters = 0;
        EXPECT_EQ(TranslateInPieces(in, swap, piece, characters), expected);
        EXPECT_EQ(characters, 1u + 10 + 3 + 3 + 2 + 1 + 10 + 2);
    }
}

TEST(Utf8CounterTest, CountsCodesAcrossPiecesAndSliceEnds) {
    // Long enough for the blocks; the rarer characters both inside blocks and at their ends.
    std::string in = "\xEF\xBB\xBFЖж ёЁ\xE2\x80\x94\xE2\x98\xBA\xC3\xA9\xD0";
    in += std::string("съешь же ещё этих мягких французских булок") + in + "abc\xD1";
    // With a zero before and two after, as at the ends of a file.
    const std::string padded = std::string(1, '\0') + in + std::string(2, '\0');
    const auto* p = reinterpret_cast<const unsigned char*>(padded.data()) + 1;
    ByteCounts whole{};
    Utf8Counter one;
    one.Count(p, in.size());
    one.AddTo(whole);
    EXPECT_EQ(whole[0xC6], 2u);  // Ж
    EXPECT_EQ(whole[0xE6], 3u);  // ж
    EXPECT_EQ(whole[0xB8], 3u);  // ё
    EXPECT_EQ(whole[0x97], 2u);  // the em dash
    std::uint64_t total = 0;
    for (const auto count : whole) total += count;
    // No BOM, U+263A, U+00E9 or cut lead byte: 6 characters twice, the phrase, "abc".
    EXPECT_EQ(total, 2 * 6u + 42 + 3);
    // Cut into two stretches anywhere, counted apart with their neighbours: the same counts.
    for (std::size_t cut = 0; cut <= in.size(); ++cut) {
        ByteCounts parts{};
        Utf8Counter first;
        Utf8Counter second;
        first.Count(p, cut);
        second.Count(p + cut, in.size() - cut);
        first.AddTo(parts);
        second.AddTo(parts);
        EXPECT_EQ(parts, whole) << "cut at " << cut;
    }
}

TEST(Utf8CounterTest, AFileCountsTheSameInSlicesOfEverySize) {
    std::string text;
    for (int i = 0; i < 40; ++i) text += "Жёлтый ёж — «\xE2\x98\xBA» ok\xFF\xD0\n";
    char name[] = "/tmp/varn-utf8-count-XXXXXX";
    const int fd = ::mkstemp(name);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    ::close(fd);
    ByteCounts whole{};
    CountOptions options;
    options.encoding = Encoding::Utf8;
    CountFileBytes(name, whole, {}, {}, options);
    EXPECT_EQ(whole[0xC6], 40u);
    EXPECT_EQ(whole[0xB8], 80u);
    EXPECT_EQ(whole[0xAB], 40u);
    for (std::size_t buffer = 1; buffer <= 70; ++buffer) {
        ByteCounts counts{};
        options.bufferSize = buffer;
        const FileCount counted = CountFileBytes(name, counts, {}, {}, options);
        EXPECT_EQ(counts, whole) << "buffer " << buffer;
        EXPECT_EQ(counted.total, text.size());
    }
    ::unlink(name);
}

}  // namespace
}  // namespace varn
