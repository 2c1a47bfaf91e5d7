#include "analysis/dos_text.h"

#include <fcntl.h>
#include <unistd.h>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include <cerrno>
#include <cstring>
#include <memory>

#include "analysis/byte_count.h"
#include "analysis/file_reader.h"

namespace varn {

namespace {

constexpr unsigned char kCr = 13;
constexpr unsigned char kLf = 10;
constexpr unsigned char kEndOfText = 26;

bool WriteAll(int fd, const unsigned char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

class OutputFile {
  public:
    explicit OutputFile(const std::string& path)
        : fd_(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666)) {}
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    bool IsOpen() const { return fd_ >= 0; }
    bool Write(const unsigned char* data, std::size_t size) const {
        return WriteAll(fd_, data, size);
    }
    // A delayed write error can show only here.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

std::uint64_t Steps(ProgressRule rule, std::uint64_t characters) {
    return rule == ProgressRule::AdvanceBefore ? StepsBefore(characters) : StepsAfter(characters);
}

}  // namespace

DosTextTranslator::DosTextTranslator(const ByteMap& map) {
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
    lineFeedOnlyFromItself_ = map[kLf] == kLf;
    for (int b = 0; b < 256; ++b) {
        if (b != kLf && b != kCr && map[b] == kLf) lineFeedOnlyFromItself_ = false;
    }
}

std::size_t DosTextTranslator::Translate(const unsigned char* in, std::size_t size,
                                         unsigned char* out, std::uint64_t& characters) const {
    std::size_t o = 0;
    std::uint64_t delivered = 0;
    // Branch-free: every byte stores two bytes and moves on by its length.
    const auto general = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            const std::uint32_t c = code_[in[i]];
            const auto pair = static_cast<std::uint16_t>(c);
            std::memcpy(out + o, &pair, 2);
            o += (c >> 16) & 0xFF;
            delivered += c >> 24;
        }
    };
    std::size_t i = 0;
#ifdef __SSE2__
    if (lineFeedOnlyFromItself_) {
        const __m128i cr = _mm_set1_epi8(static_cast<char>(kCr));
        const __m128i lf = _mm_set1_epi8(static_cast<char>(kLf));
        for (; i + 16 <= size; i += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
            const auto crs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, cr)));
            const auto lfs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lf)));
            if (((crs << 1) & 0xFFFF) != lfs || (crs & 0x8000) != 0) {
                general(i, i + 16);
                continue;
            }
            std::uint64_t low = 0;
            std::uint64_t high = 0;
            for (int j = 7; j >= 0; --j) {
                low = (low << 8) | plain_[in[i + j]];
                high = (high << 8) | plain_[in[i + 8 + j]];
            }
            std::memcpy(out + o, &low, 8);
            std::memcpy(out + o + 8, &high, 8);
            o += 16;
            delivered += 16 - static_cast<unsigned>(__builtin_popcount(crs));
        }
    }
#endif
    general(i, size);
    characters = delivered;
    return o;
}

DosTextResult TranslateDosText(const std::string& inPath, const std::string& outPath,
                               const ByteMap& map, ProgressRule rule,
                               const ProgressAdvance& advance, const DosTextOptions& options) {
    InputFile input(inPath);
    if (!input.IsOpen()) return DosTextResult::InputOpenFailed;
    OutputFile output(outPath);
    if (!output.IsOpen()) return DosTextResult::OutputCreateFailed;

    const DosTextTranslator translator(map);
    const std::size_t bufferSize = options.bufferSize > 0 ? options.bufferSize : 1;
    std::unique_ptr<unsigned char[]> in(new unsigned char[bufferSize]);
    std::unique_ptr<unsigned char[]> out(new unsigned char[2 * bufferSize + 1]);

    std::uint64_t characters = 0;
    for (;;) {
        const std::int64_t got = input.Read(in.get(), bufferSize);
        if (got < 0) return DosTextResult::ReadFailed;
        if (got == 0) break;
        auto size = static_cast<std::size_t>(got);
        const void* end = std::memchr(in.get(), kEndOfText, size);
        if (end != nullptr)
            size = static_cast<std::size_t>(static_cast<const unsigned char*>(end) - in.get());

        std::uint64_t delivered = 0;
        const std::size_t written = translator.Translate(in.get(), size, out.get(), delivered);
        if (!output.Write(out.get(), written)) return DosTextResult::WriteFailed;
        if (advance && delivered > 0) {
            const std::uint64_t steps =
                Steps(rule, characters + delivered) - Steps(rule, characters);
            if (steps > 0) advance(steps);
        }
        characters += delivered;
        if (end != nullptr || static_cast<std::size_t>(got) < bufferSize) break;
    }
    if (!output.Close()) return DosTextResult::WriteFailed;
    return DosTextResult::Ok;
}

}  // namespace varn
