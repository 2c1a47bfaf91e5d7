#include "crypt/idea_stream.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include "concurrency/slot_ring.h"
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
struct StreamFailure {
    IdeaStreamStatus status;
    int error;
};

[[noreturn]] void Fail(IdeaStreamStatus status) {
    throw StreamFailure{status, errno};
}

// A chunk waiting for its writer: where it goes and how much of it.
struct PendingWrite {
    std::size_t size = 0;
    std::int64_t offset = 0;
};
using WriteRing = SlotRing<PendingWrite>;

// Two chunk buffers taking turns between a ciphering thread and its writer, so that one chunk is
// written while the next is read and ciphered.
constexpr std::size_t kWriteBehindSlots = 2;

void WriteChunks(int target, WriteRing& ring) {
    while (WriteRing::Slot* slot = ring.Take()) {
        if (!io::WriteAllAt(target, slot->buffer.Data(), slot->payload.size,
                            static_cast<std::uint64_t>(slot->payload.offset))) {
            Fail(IdeaStreamStatus::WriteFailed);
        }
        ring.Release(*slot);
    }
}

// One thread's view of the source: spans of it, mapped a window at a time, or read into a buffer
// of its own where the source cannot be mapped (or mapping is switched off).
class SourceView {
  public:
    SourceView(int fd, std::size_t window) : fd_(fd) {
        const long page = ::sysconf(_SC_PAGESIZE);
        page_ = page > 0 ? static_cast<std::int64_t>(page) : 4096;
        if (window > 0) {
            window_ = (static_cast<std::int64_t>(window) + page_ - 1) / page_ * page_;
        }
    }
    SourceView(const SourceView&) = delete;
    SourceView& operator=(const SourceView&) = delete;
    ~SourceView() { Unmap(); }

    // Whether spans come from a mapping; otherwise the caller reads for itself.
    bool Maps() const { return window_ > 0; }
    int Descriptor() const { return fd_; }

    // Points at the source from `offset`; `size` gets how many bytes from there are available
    // (at least min(want, 8), at most want); `end` bounds the range to map. Null when the source
    // is shorter than offset + min(want, 8) or cannot be read.
    const unsigned char* Span(std::int64_t offset, std::size_t want, std::int64_t end,
                              std::size_t& size) {
        if (offset >= mapBegin_ && offset < mapEnd_) {
            const std::int64_t left = mapEnd_ - offset;
            if (left >= static_cast<std::int64_t>(std::min<std::size_t>(want, 8))) {
                size = static_cast<std::size_t>(std::min<std::int64_t>(left, want));
                return map_ + (offset - mapBegin_);
            }
        }
        if (window_ > 0) {
            if (Map(offset, std::min<std::size_t>(want, 8), end)) {
                return Span(offset, want, end, size);
            }
            if (window_ > 0) return nullptr;  // the source is shorter than it was
        }
        if (!buffer_) buffer_.reset(new unsigned char[kIdeaWriteBytes]);
        size = std::min(want, kIdeaWriteBytes);
        return io::ReadAllAt(fd_, buffer_.get(), size, offset) ? buffer_.get() : nullptr;
    }

  private:
    // Maps a window from the page holding `offset`, clipped to `end` and to the source's size as
    // it is now, so no page of the window lies beyond the end of the file.
    bool Map(std::int64_t offset, std::size_t need, std::int64_t end) {
        Unmap();
        std::int64_t fileSize = 0;
        if (!SourceSize(fd_, fileSize) || fileSize < offset + static_cast<std::int64_t>(need)) {
            return false;
        }
        const std::int64_t begin = offset / page_ * page_;
        const std::int64_t stop =
            std::min({std::max(begin + window_, offset + static_cast<std::int64_t>(need)),
                      std::max(end, offset + static_cast<std::int64_t>(need)), fileSize});
        void* p = ::mmap(nullptr, static_cast<std::size_t>(stop - begin), PROT_READ,
                         MAP_SHARED | MAP_POPULATE, fd_, begin);
        if (p == MAP_FAILED) {
            window_ = 0;  // not mappable: read it from now on
            return false;
        }
        ::madvise(p, static_cast<std::size_t>(stop - begin), MADV_SEQUENTIAL);
        map_ = static_cast<const unsigned char*>(p);
        mapBegin_ = begin;
        mapEnd_ = stop;
        return true;
    }

    void Unmap() {
        if (map_ != nullptr) {
            ::munmap(const_cast<unsigned char*>(map_),
                     static_cast<std::size_t>(mapEnd_ - mapBegin_));
        }
        map_ = nullptr;
        mapBegin_ = mapEnd_ = 0;
    }

    int fd_;
    std::int64_t page_ = 4096;
    std::int64_t window_ = 0;  // 0: read instead of mapping
    const unsigned char* map_ = nullptr;
    std::int64_t mapBegin_ = 0;
    std::int64_t mapEnd_ = 0;
    std::unique_ptr<unsigned char[]> buffer_;
};

// Ciphers `size` bytes of the block stream into `out` from the source at `offset`, of which only
// the first `present` exist (the rest of the last block is zero padding).
bool CipherFromSource(SourceView& source, std::int64_t offset, std::int64_t present,
                      unsigned char* out, std::size_t size, std::int64_t end,
                      const IdeaSchedule& schedule, IdeaWordOrder order, IdeaPath path) {
    if (!source.Maps()) {
        // Read straight into the output buffer and cipher it there: one copy, in the cache.
        const auto have = static_cast<std::size_t>(
            std::clamp<std::int64_t>(present, 0, static_cast<std::int64_t>(size)));
        if (have > 0 &&
            !io::ReadAllAt(source.Descriptor(), out, have, static_cast<std::uint64_t>(offset))) {
            return false;
        }
        std::memset(out + have, 0, size - have);  // the zero padding of the last block
        IdeaCipherBlocks(out, out, size / 8, schedule, order, path);
        return true;
    }
    std::size_t done = 0;
    while (done < size) {
        const std::int64_t left =
            std::max<std::int64_t>(present - static_cast<std::int64_t>(done), 0);
        if (left >= 8) {
            std::size_t got = 0;
            const unsigned char* in =
                source.Span(offset + static_cast<std::int64_t>(done),
                            static_cast<std::size_t>(std::min<std::int64_t>(
                                left, static_cast<std::int64_t>(size - done))),
                            end, got);
            if (in == nullptr) return false;
            const std::size_t blocks = got / 8;
            IdeaCipherBlocks(in, out + done, blocks, schedule, order, path);
            done += blocks * 8;
        } else {
            // The last block: what is left of the source, then zeros.
            std::memset(out + done, 0, 8);
            if (left > 0) {
                std::size_t got = 0;
                const unsigned char* in = source.Span(offset + static_cast<std::int64_t>(done),
                                                      static_cast<std::size_t>(left), end, got);
                if (in == nullptr) return false;
                std::memcpy(out + done, in, static_cast<std::size_t>(left));
            }
            IdeaCipherBlocks(out + done, out + done, 1, schedule, order, path);
            done += 8;
        }
    }
    return true;
}

IdeaStreamStatus RunChunks(int source, int target, const PassLayout& layout,
                           const IdeaSchedule& schedule, const IdeaStreamOptions& options) {
    const auto chunk = static_cast<std::int64_t>(kIdeaChunkBytes);
    const std::int64_t chunks = (layout.streamBytes + chunk - 1) / chunk;
    const std::int64_t threads =
        std::clamp<std::int64_t>(static_cast<std::int64_t>(options.threads), 1, chunks);

    // Each ciphering thread may hand its writes to a writer of its own.
    std::vector<std::unique_ptr<WriteRing>> rings;
    if (options.writeBehind) {
        for (std::int64_t t = 0; t < threads; ++t) {
            rings.push_back(std::make_unique<WriteRing>(kWriteBehindSlots, kIdeaChunkBytes));
        }
    }
    std::atomic<bool> stopped{false};
    std::vector<bool> writing(rings.size(), false);

    // Whichever thread is free takes the next chunk, so a helper that cannot be started leaves
    // its share to the others. Writing for itself, a thread ciphers a cache-sized piece at a time
    // and writes it at once; a writer gets whole chunks.
    std::atomic<std::int64_t> next{0};
    auto work = [&](std::size_t t) {
        SourceView view(source, std::min(options.mapWindow, kIdeaChunkBytes));
        WriteRing* ring = t < writing.size() && writing[t] ? rings[t].get() : nullptr;
        AlignedBuffer own(ring != nullptr ? 0 : kIdeaWriteBytes);
        const auto piece = ring != nullptr ? chunk : static_cast<std::int64_t>(kIdeaWriteBytes);
        for (std::int64_t i = next++; i < chunks && !stopped; i = next++) {
            const std::int64_t chunkBegin = i * chunk;
            const std::int64_t chunkEnd = std::min(chunkBegin + chunk, layout.streamBytes);
            const std::int64_t inEnd = layout.inOffset + std::min(chunkEnd, layout.inAvailable);
            for (std::int64_t begin = chunkBegin; begin < chunkEnd; begin += piece) {
                WriteRing::Slot* slot = ring != nullptr ? ring->Claim() : nullptr;
                if (ring != nullptr && slot == nullptr) return;  // the pass has stopped
                unsigned char* buffer = slot != nullptr ? slot->buffer.Data() : own.Data();
                const std::int64_t size = std::min(piece, chunkEnd - begin);
                const std::int64_t present =
                    std::clamp<std::int64_t>(layout.inAvailable - begin, 0, size);
                if (!CipherFromSource(view, layout.inOffset + begin, present, buffer,
                                      static_cast<std::size_t>(size), inEnd, schedule, layout.order,
                                      options.path)) {
                    Fail(IdeaStreamStatus::ReadFailed);
                }
                const auto keep = static_cast<std::size_t>(
                    std::clamp<std::int64_t>(layout.outLimit - begin, 0, size));
                const std::int64_t at = layout.outOffset + begin;
                if (slot != nullptr) {
                    slot->payload = {keep, at};
                    ring->Publish(*slot);
                } else if (!io::WriteAllAt(target, buffer, keep, static_cast<std::uint64_t>(at))) {
                    Fail(IdeaStreamStatus::WriteFailed);
                }
            }
        }
        if (ring != nullptr) ring->Close();  // its writer drains it and ends
    };

    Workers workers(
        [&] {
            stopped = true;
            for (auto& ring : rings) ring->Stop();
        },
        options.launcher != nullptr ? *options.launcher : DefaultThreadLauncher());
    for (std::size_t t = 0; t < rings.size(); ++t) {
        WriteRing& ring = *rings[t];
        // A writer that cannot be started leaves its thread writing for itself.
        writing[t] = workers.Start([target, &ring] { WriteChunks(target, ring); });
    }

    for (std::int64_t t = 1; t < threads; ++t) {
        const auto helper = static_cast<std::size_t>(t);
        if (!workers.Start([&work, helper] { work(helper); }) && helper < rings.size()) {
            rings[helper]->Close();  // no chunk will come its writer's way
        }
    }
    workers.RunHere([&] { work(0); });
    try {
        workers.Join();
    } catch (const StreamFailure& failure) {
        errno = failure.error;
        return failure.status;
    }
    return IdeaStreamStatus::Ok;
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

IdeaStreamStatus IdeaCheckPlainSource(int source) {
    std::int64_t size = 0;
    if (!SourceSize(source, size)) return IdeaStreamStatus::ReadFailed;
    return size >= kIdeaSizeLimit ? IdeaStreamStatus::TooLarge : IdeaStreamStatus::Ok;
}

namespace {

IdeaStreamStatus ReadStoredLength(int source, std::int32_t& length) {
    std::int64_t size = 0;
    if (!SourceSize(source, size)) return IdeaStreamStatus::ReadFailed;
    if (size < kHeaderBytes) return IdeaStreamStatus::NotEncrypted;
    unsigned char header[kHeaderBytes];
    if (!io::ReadAllAt(source, header, sizeof header, 0)) return IdeaStreamStatus::ReadFailed;
    const std::uint32_t raw =
        header[0] | header[1] << 8 | header[2] << 16 | static_cast<std::uint32_t>(header[3]) << 24;
    length = static_cast<std::int32_t>(raw);
    if (length < 0 || size != IdeaEncryptedSize(length)) return IdeaStreamStatus::NotEncrypted;
    return IdeaStreamStatus::Ok;
}

}  // namespace

IdeaStreamStatus IdeaCheckEncryptedSource(int source) {
    std::int32_t length = 0;
    return ReadStoredLength(source, length);
}

namespace {

IdeaStreamStatus CheckPadding(int source, std::int32_t length, const IdeaSchedule& decryption) {
    const std::int64_t last = kHeaderBytes + 8 * (length / 8);
    unsigned char block[8];
    if (!io::ReadAllAt(source, block, sizeof block, static_cast<std::uint64_t>(last))) {
        return IdeaStreamStatus::ReadFailed;
    }
    IdeaCipherBlocks(block, block, 1, decryption, IdeaWordOrder::CipherToPlain, IdeaPath::Scalar);
    for (int i = length % 8; i < 8; ++i) {
        if (block[i] != 0) return IdeaStreamStatus::WrongPadding;
    }
    return IdeaStreamStatus::Ok;
}

}  // namespace

IdeaStreamStatus IdeaCheckPadding(int source, const IdeaKey& key) {
    std::int32_t length = 0;
    if (const IdeaStreamStatus s = ReadStoredLength(source, length); s != IdeaStreamStatus::Ok) {
        return s;
    }
    return CheckPadding(source, length, IdeaInvertKey(IdeaExpandKey(key)));
}

IdeaStreamStatus IdeaEncryptStream(int source, int target, const IdeaKey& key,
                                   const IdeaStreamOptions& options) {
    std::int64_t length = 0;
    if (!SourceSize(source, length)) return IdeaStreamStatus::ReadFailed;
    if (length >= kIdeaSizeLimit) return IdeaStreamStatus::TooLarge;
    const IdeaSchedule schedule = IdeaExpandKey(key);

    const auto l = static_cast<std::uint32_t>(length);
    const unsigned char header[kHeaderBytes] = {
        static_cast<unsigned char>(l), static_cast<unsigned char>(l >> 8),
        static_cast<unsigned char>(l >> 16), static_cast<unsigned char>(l >> 24)};
    if (!io::WriteAllAt(target, header, sizeof header, 0)) return IdeaStreamStatus::WriteFailed;

    const std::int64_t stream = IdeaEncryptedSize(length) - kHeaderBytes;
    const PassLayout layout{IdeaWordOrder::PlainToCipher, stream, 0, length, kHeaderBytes, stream};
    return RunChunks(source, target, layout, schedule, options);
}

IdeaStreamStatus IdeaDecryptStream(int source, int target, const IdeaKey& key,
                                   const IdeaStreamOptions& options) {
    std::int32_t length = 0;
    if (const IdeaStreamStatus s = ReadStoredLength(source, length); s != IdeaStreamStatus::Ok) {
        return s;
    }
    const IdeaSchedule schedule = IdeaInvertKey(IdeaExpandKey(key));
    if (const IdeaStreamStatus s = CheckPadding(source, length, schedule);
        s != IdeaStreamStatus::Ok) {
        return s;
    }
    const std::int64_t stream = IdeaEncryptedSize(length) - kHeaderBytes;
    const PassLayout layout{IdeaWordOrder::CipherToPlain, stream, kHeaderBytes, stream, 0, length};
    return RunChunks(source, target, layout, schedule, options);
}

}  // namespace varn
