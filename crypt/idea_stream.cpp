#include "crypt/idea_stream.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <vector>

#include "concurrency/aligned_buffer.h"
#include "concurrency/workers.h"
#include "io/transfer.h"

namespace varn {

namespace {

constexpr std::int64_t kHeaderBytes = 4;

bool SourceSize(int fd, std::int64_t& size) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return false;
    size = st.st_size;
    return true;
}

// Where the chunks of one pass come from and go to. The block stream of 8 * N bytes is cut into
// chunks; chunk i covers [i * C, (i + 1) * C) of it, clipped to the stream's end.
struct PassLayout {
    IdeaWordOrder order;
    std::int64_t streamBytes;  // 8 * N
    std::int64_t inOffset;     // where the stream starts in the source
    std::int64_t inAvailable;  // bytes of the stream present in the source (the rest is padding)
    std::int64_t outOffset;    // where the stream starts in the target
    std::int64_t outLimit;     // bytes of the stream written to the target
};

// How a pass ends when a read or write fails, with errno of the call, carried from whichever
// thread met it to the caller as the pass's first error.
io::Failure FailureOfCall(io::FailureKind kind) {
    return kind == io::FailureKind::Read ? io::ReadFailureNow({}) : io::Failure{kind, {}, errno};
}

[[noreturn]] void Fail(io::FailureKind kind) {
    throw FailureOfCall(kind);
}

CryptResult Refused(CryptRefusal refusal) {
    return {refusal, {}, {}};
}

CryptResult Failed(io::FailureKind kind) {
    return {CryptRefusal::None, FailureOfCall(kind), {}};
}

// The kernel copies between the page cache and a buffer fastest when both sides sit at the same
// offset within a cache line. The block stream starts 4 bytes into the encrypted file, so the
// plaintext side and the ciphertext side of a pass are 4 bytes apart: each gets a buffer of its
// own, placed at its file offset modulo a line, and the cipher moves the data across.
constexpr std::int64_t kCacheLine = 64;

unsigned char* AtFileAlignment(const AlignedBuffer& buffer, std::int64_t fileOffset) {
    return buffer.Data() + fileOffset % kCacheLine;
}

CryptResult RunChunks(int source, int target, const PassLayout& layout,
                      const IdeaSchedule& schedule, const IdeaStreamOptions& options) {
    const auto chunk = static_cast<std::int64_t>(kIdeaChunkBytes);
    const auto piece = static_cast<std::int64_t>(kIdeaWriteBytes);
    const std::int64_t chunks = (layout.streamBytes + chunk - 1) / chunk;
    const std::int64_t threads =
        std::clamp<std::int64_t>(static_cast<std::int64_t>(options.threads), 1, chunks);

    // Whichever thread is free takes the next chunk, so a helper that cannot be started leaves
    // its share to the others. A thread reads, ciphers and writes a cache-sized piece at a time,
    // so the data stays in its core's cache between the three.
    std::atomic<std::int64_t> next{0};
    std::atomic<bool> stopped{false};
    auto work = [&] {
        const AlignedBuffer in(kIdeaWriteBytes + kCacheLine), out(kIdeaWriteBytes + kCacheLine);
        for (std::int64_t i = next++; i < chunks && !stopped; i = next++) {
            const std::int64_t chunkEnd = std::min((i + 1) * chunk, layout.streamBytes);
            for (std::int64_t begin = i * chunk; begin < chunkEnd; begin += piece) {
                const std::int64_t size = std::min(piece, chunkEnd - begin);
                const auto present = static_cast<std::size_t>(
                    std::clamp<std::int64_t>(layout.inAvailable - begin, 0, size));
                const std::int64_t from = layout.inOffset + begin;
                const std::int64_t to = layout.outOffset + begin;
                unsigned char* plain = AtFileAlignment(in, from);
                unsigned char* ciphered = AtFileAlignment(out, to);
                if (present > 0 &&
                    !io::ReadAllAt(source, plain, present, static_cast<std::uint64_t>(from))) {
                    Fail(io::FailureKind::Read);
                }
                // The zero padding of the last block.
                std::memset(plain + present, 0, static_cast<std::size_t>(size) - present);
                IdeaCipherBlocks(plain, ciphered, static_cast<std::size_t>(size) / 8, schedule,
                                 layout.order, options.path);
                const auto keep = static_cast<std::size_t>(
                    std::clamp<std::int64_t>(layout.outLimit - begin, 0, size));
                if (!io::WriteAllAt(target, ciphered, keep, static_cast<std::uint64_t>(to))) {
                    Fail(io::FailureKind::Write);
                }
            }
        }
    };

    Workers workers([&] { stopped = true; },
                    options.launcher != nullptr ? *options.launcher : DefaultThreadLauncher());
    for (std::int64_t t = 1; t < threads; ++t) workers.Start(work);
    workers.RunHere(work);
    try {
        workers.Join();
    } catch (const io::Failure& failure) {
        return {CryptRefusal::None, failure, {}};
    }
    return {};
}

}  // namespace

IdeaKey IdeaKeyFromPassword(std::string_view password) {
    IdeaKey key{};
    const std::size_t m = std::min<std::size_t>(password.size(), key.size());
    for (std::size_t i = 0; i < m; ++i) {
        const auto high = static_cast<unsigned char>(password[i]);
        const auto low = i == 0 ? 0u : static_cast<unsigned char>(password[i - 1]);
        key[i] = static_cast<std::uint16_t>(high << 8 | low);
    }
    return key;
}

std::int64_t IdeaEncryptedSize(std::int64_t length) {
    return kHeaderBytes + 8 * (length / 8 + 1);
}

CryptResult IdeaCheckPlainSource(int source) {
    std::int64_t size = 0;
    if (!SourceSize(source, size)) return Failed(io::FailureKind::Read);
    return size >= kIdeaSizeLimit ? Refused(CryptRefusal::TooLarge) : CryptResult{};
}

namespace {

CryptResult ReadStoredLength(int source, std::int32_t& length) {
    std::int64_t size = 0;
    if (!SourceSize(source, size)) return Failed(io::FailureKind::Read);
    if (size < kHeaderBytes) return Refused(CryptRefusal::NotEncrypted);
    unsigned char header[kHeaderBytes];
    if (!io::ReadAllAt(source, header, sizeof header, 0)) return Failed(io::FailureKind::Read);
    const std::uint32_t raw =
        header[0] | header[1] << 8 | header[2] << 16 | static_cast<std::uint32_t>(header[3]) << 24;
    length = static_cast<std::int32_t>(raw);
    if (length < 0 || size != IdeaEncryptedSize(length)) return Refused(CryptRefusal::NotEncrypted);
    return {};
}

}  // namespace

CryptResult IdeaCheckEncryptedSource(int source) {
    std::int32_t length = 0;
    return ReadStoredLength(source, length);
}

namespace {

CryptResult CheckPadding(int source, std::int32_t length, const IdeaSchedule& decryption) {
    const std::int64_t last = kHeaderBytes + 8 * (length / 8);
    unsigned char block[8];
    if (!io::ReadAllAt(source, block, sizeof block, static_cast<std::uint64_t>(last))) {
        return Failed(io::FailureKind::Read);
    }
    IdeaCipherBlocks(block, block, 1, decryption, IdeaWordOrder::CipherToPlain, IdeaPath::Scalar);
    for (int i = length % 8; i < 8; ++i) {
        if (block[i] != 0) return Refused(CryptRefusal::WrongPassword);
    }
    return {};
}

}  // namespace

CryptResult IdeaCheckPadding(int source, const IdeaKey& key) {
    std::int32_t length = 0;
    if (const CryptResult stored = ReadStoredLength(source, length); !stored.ok()) return stored;
    return CheckPadding(source, length, IdeaInvertKey(IdeaExpandKey(key)));
}

CryptResult IdeaEncryptStream(int source, int target, const IdeaKey& key,
                              const IdeaStreamOptions& options) {
    std::int64_t length = 0;
    if (!SourceSize(source, length)) return Failed(io::FailureKind::Read);
    if (length >= kIdeaSizeLimit) return Refused(CryptRefusal::TooLarge);
    const IdeaSchedule schedule = IdeaExpandKey(key);

    const auto l = static_cast<std::uint32_t>(length);
    const unsigned char header[kHeaderBytes] = {
        static_cast<unsigned char>(l), static_cast<unsigned char>(l >> 8),
        static_cast<unsigned char>(l >> 16), static_cast<unsigned char>(l >> 24)};
    if (!io::WriteAllAt(target, header, sizeof header, 0)) return Failed(io::FailureKind::Write);

    const std::int64_t stream = IdeaEncryptedSize(length) - kHeaderBytes;
    const PassLayout layout{IdeaWordOrder::PlainToCipher, stream, 0, length, kHeaderBytes, stream};
    return RunChunks(source, target, layout, schedule, options);
}

CryptResult IdeaDecryptStream(int source, int target, const IdeaKey& key,
                              const IdeaStreamOptions& options) {
    std::int32_t length = 0;
    if (const CryptResult stored = ReadStoredLength(source, length); !stored.ok()) return stored;
    const IdeaSchedule schedule = IdeaInvertKey(IdeaExpandKey(key));
    if (const CryptResult padding = CheckPadding(source, length, schedule); !padding.ok()) {
        return padding;
    }
    const std::int64_t stream = IdeaEncryptedSize(length) - kHeaderBytes;
    const PassLayout layout{IdeaWordOrder::CipherToPlain, stream, kHeaderBytes, stream, 0, length};
    return RunChunks(source, target, layout, schedule, options);
}

}  // namespace varn
