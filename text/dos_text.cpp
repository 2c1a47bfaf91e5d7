#include "text/dos_text.h"

#include <fcntl.h>
#include <unistd.h>
#ifdef __x86_64__
#include <immintrin.h>
#endif

#include <cerrno>
#include <cstring>

#include "concurrency/slot_ring.h"
#include "concurrency/workers.h"
#include "io/file_reader.h"
#include "io/transfer.h"
#include "text/dos_text_loss.h"
#include "text/utf8.h"
#include "text/utf8_pass.h"

namespace varn {

namespace {

constexpr unsigned char kCr = 13;
constexpr unsigned char kLf = 10;
constexpr unsigned char kEndOfText = 26;

// Temporaries of a translation lie beside its target.
constexpr const char* kDosTextTempPrefix = "__varn__.tmp";

std::uint64_t Steps(ProgressRule rule, std::uint64_t characters) {
    return rule == ProgressRule::AdvanceBefore ? StepsBefore(characters) : StepsAfter(characters);
}

// One byte the long way: stores two bytes and moves on by the length of its code.
inline void TranslateByte(const std::uint32_t* code, unsigned char b, unsigned char* out,
                          std::size_t& o, std::uint64_t& delivered) {
    const std::uint32_t c = code[b];
    const auto pair = static_cast<std::uint16_t>(c);
    std::memcpy(out + o, &pair, 2);
    o += (c >> 16) & 0xFF;
    delivered += c >> 24;
}

#ifdef __x86_64__
// 64-byte blocks whose every CR stands right before an LF, looked up in `plain` with four
// 64-byte table registers. At the first byte that breaks the rule, the good part of the block is
// kept, that byte goes the long way and the blocks go on from the byte after it, so a text with
// bare LF line ends still runs mostly here.
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) void WideBlocks(
    const unsigned char* plain, const std::uint32_t* code, const unsigned char* in,
    std::size_t size, unsigned char* out, std::size_t& i, std::size_t& o,
    std::uint64_t& delivered) {
    const __m512i t0 = _mm512_loadu_si512(plain);
    const __m512i t1 = _mm512_loadu_si512(plain + 64);
    const __m512i t2 = _mm512_loadu_si512(plain + 128);
    const __m512i t3 = _mm512_loadu_si512(plain + 192);
    const __m512i cr = _mm512_set1_epi8(static_cast<char>(kCr));
    const __m512i lf = _mm512_set1_epi8(static_cast<char>(kLf));
    while (i + 64 <= size) {
        const __m512i v = _mm512_loadu_si512(in + i);
        const __mmask64 crs = _mm512_cmpeq_epi8_mask(v, cr);
        const __mmask64 lfs = _mm512_cmpeq_epi8_mask(v, lf);
        const __m512i low = _mm512_permutex2var_epi8(t0, v, t1);
        const __m512i high = _mm512_permutex2var_epi8(t2, v, t3);
        // Scratch room: the output so far is at most twice the input so far.
        _mm512_storeu_si512(out + o, _mm512_mask_blend_epi8(_mm512_movepi8_mask(v), low, high));
        // Bit j: an LF at j without a CR before it, or a CR at j - 1 without an LF after it.
        const std::uint64_t broken = (crs << 1) ^ lfs;
        if (broken == 0 && (crs >> 63) == 0) {
            o += 64;
            delivered += 64 - static_cast<unsigned>(__builtin_popcountll(crs));
            i += 64;
            continue;
        }
        // A CR at 63 may have its LF in the next block; it goes the long way all the same.
        const unsigned at = broken != 0 ? static_cast<unsigned>(__builtin_ctzll(broken)) : 64;
        const unsigned good = at > 0 && ((crs >> (at - 1)) & 1) != 0 ? at - 1 : at;
        o += good;
        delivered += good - static_cast<unsigned>(
                                __builtin_popcountll(crs & ((std::uint64_t{1} << good) - 1)));
        i += good;
        TranslateByte(code, in[i], out, o, delivered);
        ++i;
    }
}
#endif

#ifdef __SSE2__
// 16-byte blocks whose every CR stands right before an LF, by plain lookup; any other block goes
// the long way.
void Sse2Blocks(const unsigned char* plain, const std::uint32_t* code, const unsigned char* in,
                std::size_t size, unsigned char* out, std::size_t& i, std::size_t& o,
                std::uint64_t& delivered) {
    const __m128i cr = _mm_set1_epi8(static_cast<char>(kCr));
    const __m128i lf = _mm_set1_epi8(static_cast<char>(kLf));
    for (; i + 16 <= size; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const auto crs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, cr)));
        const auto lfs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lf)));
        if (((crs << 1) & 0xFFFF) != lfs || (crs & 0x8000) != 0) {
            for (std::size_t j = i; j < i + 16; ++j) TranslateByte(code, in[j], out, o, delivered);
            continue;
        }
        std::uint64_t low = 0;
        std::uint64_t high = 0;
        for (int j = 7; j >= 0; --j) {
            low = (low << 8) | plain[in[i + j]];
            high = (high << 8) | plain[in[i + 8 + j]];
        }
        std::memcpy(out + o, &low, 8);
        std::memcpy(out + o + 8, &high, 8);
        o += 16;
        delivered += 16 - static_cast<unsigned>(__builtin_popcount(crs));
    }
}
#endif

// One buffer's worth of output, in the bytes of its slot: what the reading side hands to the
// writing side.
struct Piece {
    std::size_t size = 0;
    std::uint64_t characters = 0;
    bool last = false;
    bool readFailed = false;
};
using PieceRing = SlotRing<Piece>;

// `map` on codes as a map on the bytes of an 8-bit page.
ByteMap PageMap(const ByteMap& map, Encoding encoding) {
    const CodePage& page = PageOf(encoding);
    ByteMap composed{};
    for (int b = 0; b < 256; ++b) {
        const int code = page.toCode[b];
        const int to = code >= 0 ? page.fromCode[map[code]] : -1;
        composed[b] = static_cast<unsigned char>(to >= 0 ? to : b);
    }
    return composed;
}

// Reads the input buffer by buffer and translates each buffer: in DOS text mode cut at the first
// byte 26, else by a plain byte map or, for UTF-8, character by character.
class PieceMaker {
  public:
    enum class Mode { Dos, Plain, Utf8 };

    PieceMaker(const InputFile& input, const ByteMap& map, const DosTextOptions& options,
               DosTextLossScanner* loss)
        : reader_(input, options.bufferSize),
          mode_(options.encoding == Encoding::Utf8 ? Mode::Utf8
                : UsesDosText(options.encoding)    ? Mode::Dos
                                                   : Mode::Plain),
          byteMap_(options.encoding == Encoding::Utf8 || options.mapBytes
                       ? map
                       : PageMap(map, options.encoding)),
          translator_(byteMap_),
          utf8_(map),
          bufferSize_(options.bufferSize > 0 ? options.bufferSize : 1),
          loss_(mode_ == Mode::Dos ? loss : nullptr) {}

    std::size_t Capacity() const {
        return mode_ == Mode::Utf8 ? Utf8Translator::Capacity(bufferSize_) : 2 * bufferSize_ + 1;
    }

    void Make(PieceRing::Slot& slot) {
        Piece& piece = slot.payload;
        piece.size = 0;
        piece.characters = 0;
        piece.last = true;
        piece.readFailed = false;
        const unsigned char* data = nullptr;
        const std::int64_t got = reader_.Next(data);
        if (got < 0) {
            piece.readFailed = true;
            readError_ = errno;
            return;
        }
        auto size = static_cast<std::size_t>(got);
        if (loss_) loss_->Feed(data, size, size < bufferSize_);
        const void* end =
            mode_ == Mode::Dos && size > 0 ? std::memchr(data, kEndOfText, size) : nullptr;
        if (end != nullptr)
            size = static_cast<std::size_t>(static_cast<const unsigned char*>(end) - data);
        piece.last = end != nullptr || static_cast<std::size_t>(got) < bufferSize_;
        unsigned char* out = slot.buffer.Data();
        switch (mode_) {
            case Mode::Dos:
                piece.size = translator_.Translate(data, size, out, piece.characters);
                break;
            case Mode::Plain:
                for (std::size_t i = 0; i < size; ++i) out[i] = byteMap_[data[i]];
                piece.size = size;
                piece.characters = size;
                break;
            case Mode::Utf8:
                piece.size = utf8_.Translate(data, size, piece.last, out, piece.characters);
                break;
        }
    }

    // errno of the failed read, whichever thread made it.
    int ReadError() const { return readError_; }

  private:
    PieceReader reader_;
    Mode mode_;
    ByteMap byteMap_;
    DosTextTranslator translator_;
    Utf8Translator utf8_;
    std::size_t bufferSize_;
    DosTextLossScanner* loss_;  // told every byte read, in order
    int readError_ = 0;
};

// Reading ahead never runs further than this many buffers: memory stays constant.
constexpr std::size_t kPiecesInFlight = 4;

// The pass itself.
io::Failure Translate(const InputFile& input, int output, const ByteMap& map, ProgressRule rule,
                      const ProgressAdvance& advance, const DosTextOptions& options, bool* lost) {
    DosTextLossScanner loss(input.Size());
    PieceMaker maker(input, map, options, lost ? &loss : nullptr);
    PieceRing ring(options.pipeline ? kPiecesInFlight : 1, maker.Capacity());
    const auto make = [&](PieceRing::Slot& slot) {
        maker.Make(slot);
        const bool last = slot.payload.last;
        ring.Publish(slot);
        if (last) ring.Close();
    };
    // A second thread reads and translates ahead while this one writes; when none can be
    // started, this one does both. Leaving early stops and joins it.
    Workers workers([&] { ring.Stop(); },
                    options.launcher != nullptr ? *options.launcher : DefaultThreadLauncher());
    const bool ahead = options.pipeline && workers.Start([&] {
        while (PieceRing::Slot* slot = ring.Claim()) make(*slot);
    });

    std::uint64_t characters = 0;
    for (;;) {
        if (!ahead) make(*ring.Claim());
        PieceRing::Slot* slot = ring.Take();
        if (slot == nullptr) break;  // the reading thread failed: Join hands its error on
        const Piece& piece = slot->payload;
        if (piece.readFailed) {
            return io::ReadFailure(input.Path(), maker.ReadError());
        }
        if (!io::WriteAll(output, slot->buffer.Data(), piece.size)) {
            return io::FailureNow(io::FailureKind::Write, {});
        }
        if (advance && piece.characters > 0) {
            const std::uint64_t steps =
                Steps(rule, characters + piece.characters) - Steps(rule, characters);
            if (steps > 0) advance(steps);
        }
        characters += piece.characters;
        const bool last = piece.last;
        ring.Release(*slot);
        if (last) break;
    }
    workers.Join();
    if (lost) *lost = loss.Lost();
    return {};
}

}  // namespace

std::string MissingCharacters(const ByteMap& map, Encoding encoding) {
    if (encoding == Encoding::Windows1251 || encoding == Encoding::Utf8) return {};
    const CodePage& page = PageOf(encoding);
    std::string missing;
    for (int b = 0; b < 256; ++b) {
        const int code = page.toCode[b];
        if (code < 0 || page.fromCode[map[code]] >= 0) continue;
        std::string character;
        utf8::Append(UnicodeOfCode(map[code]), character);
        if (missing.find(character) == std::string::npos) missing += character;
    }
    return missing;
}

bool DosTextPathAvailable(DosTextPath path) {
    switch (path) {
        case DosTextPath::Best:
        case DosTextPath::Bytes:
            return true;
        case DosTextPath::Sse2:
#ifdef __SSE2__
            return true;
#else
            return false;
#endif
        case DosTextPath::Wide:
#ifdef __x86_64__
            return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                   __builtin_cpu_supports("avx512vbmi");
#else
            return false;
#endif
    }
    return false;
}

DosTextTranslator::DosTextTranslator(const ByteMap& map, DosTextPath path) {
    for (int b = 0; b < 256; ++b) {
        const unsigned char m = map[b];
        std::uint32_t code;
        if (b == kCr) {
            code = 0;
        } else if (m == kLf) {
            code = kCr | (kLf << 8) | (2u << 16) | (1u << 24);
        } else {
            code = m | (1u << 16) | (1u << 24);
        }
        code_[b] = code;
        plain_[b] = b == kCr ? kCr : m;
    }
    bool lineFeedOnlyFromItself = map[kLf] == kLf;
    for (int b = 0; b < 256; ++b) {
        if (b != kLf && b != kCr && map[b] == kLf) lineFeedOnlyFromItself = false;
    }
    if (path == DosTextPath::Best) {
        path = DosTextPathAvailable(DosTextPath::Wide)   ? DosTextPath::Wide
               : DosTextPathAvailable(DosTextPath::Sse2) ? DosTextPath::Sse2
                                                         : DosTextPath::Bytes;
    }
    path_ = lineFeedOnlyFromItself && DosTextPathAvailable(path) ? path : DosTextPath::Bytes;
}

std::size_t DosTextTranslator::Translate(const unsigned char* in, std::size_t size,
                                         unsigned char* out, std::uint64_t& characters) const {
    std::size_t i = 0;
    std::size_t o = 0;
    std::uint64_t delivered = 0;
    switch (path_) {
        case DosTextPath::Wide:
#ifdef __x86_64__
            WideBlocks(plain_.data(), code_.data(), in, size, out, i, o, delivered);
#endif
            [[fallthrough]];  // the rest of the buffer, less than one wide block
        case DosTextPath::Sse2:
#ifdef __SSE2__
            Sse2Blocks(plain_.data(), code_.data(), in, size, out, i, o, delivered);
#endif
            break;
        case DosTextPath::Best:
        case DosTextPath::Bytes:
            break;
    }
    for (; i < size; ++i) TranslateByte(code_.data(), in[i], out, o, delivered);
    characters = delivered;
    return o;
}

io::Failure TranslateDosText(const InputFile& input, int output, const ByteMap& map,
                             ProgressRule rule, const ProgressAdvance& advance,
                             const DosTextOptions& options, bool* lost) {
    return Translate(input, output, map, rule, advance, options, lost);
}

io::Failure TranslateDosText(const std::string& inPath, const io::Target& out, const ByteMap& map,
                             ProgressRule rule, const ProgressAdvance& advance,
                             const DosTextOptions& options) {
    const InputFile input(inPath);
    if (!input.IsOpen()) return input.Failure();
    io::Failure failure;
    io::Target target = out;
    target.source = {input.Descriptor(), inPath, input.Version()};
    io::Replacement output;
    if (!output.Begin(target, kDosTextTempPrefix, failure)) return failure;
    failure = TranslateDosText(input, output.fd(), map, rule, advance, options, nullptr);
    if (failure.kind == io::FailureKind::Write) failure.path = out.path;
    if (failure) return failure;
    output.Commit(failure);
    return failure;
}

}  // namespace varn
