#include "crypt/idea_stream.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

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

// Writes a thread's chunks on a thread of its own while the next chunk is read and ciphered, with
// two buffers taking turns.
class WriteBehind {
  public:
    WriteBehind(int fd, std::atomic<int>& failure) : fd_(fd), failure_(failure) {
        thread_ = std::thread([this] { Run(); });
    }
    WriteBehind(const WriteBehind&) = delete;
    WriteBehind& operator=(const WriteBehind&) = delete;
    ~WriteBehind() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            done_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }

    // The buffer to fill next, once the writer is through with it.
    unsigned char* NextBuffer() {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return !slots_[fill_].pending; });
        return slots_[fill_].data.get();
    }

    // Hands over the buffer from NextBuffer for writing.
    void Submit(std::size_t size, std::int64_t offset) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            Slot& slot = slots_[fill_];
            slot.size = size;
            slot.offset = offset;
            slot.pending = true;
            fill_ ^= 1;
        }
        changed_.notify_all();
    }

  private:
    struct Slot {
        std::unique_ptr<unsigned char[]> data{new unsigned char[kIdeaChunkBytes]};
        std::size_t size = 0;
        std::int64_t offset = 0;
        bool pending = false;
    };

    void Run() {
        // Buffers are submitted and written in the same alternating order.
        for (int next = 0;; next ^= 1) {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [&] { return slots_[next].pending || done_; });
            if (!slots_[next].pending) return;
            Slot& slot = slots_[next];
            lock.unlock();
            if (failure_.load(std::memory_order_relaxed) == 0 &&
                !io::WriteAllAt(fd_, slot.data.get(), slot.size, slot.offset)) {
                failure_.store(static_cast<int>(IdeaStreamStatus::WriteFailed));
            }
            lock.lock();
            slot.pending = false;
            lock.unlock();
            changed_.notify_all();
        }
    }

    int fd_;
    std::atomic<int>& failure_;
    Slot slots_[2];
    int fill_ = 0;
    bool done_ = false;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::thread thread_;
};

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
    std::atomic<int> failure{static_cast<int>(IdeaStreamStatus::Ok)};

    // Thread t takes chunks t, t + T, t + 2T, ...: each reads, ciphers and writes on its own.
    // Writing for itself, it ciphers a cache-sized piece at a time and writes it at once; a
    // write-behind thread gets whole chunks.
    auto work = [&](std::int64_t first, std::int64_t step) {
        SourceView view(source, std::min(options.mapWindow, kIdeaChunkBytes));
        std::unique_ptr<unsigned char[]> own;
        std::unique_ptr<WriteBehind> writer;
        if (options.writeBehind) {
            writer = std::make_unique<WriteBehind>(target, failure);
        } else {
            own.reset(new unsigned char[kIdeaWriteBytes]);
        }
        const auto piece = writer ? chunk : static_cast<std::int64_t>(kIdeaWriteBytes);
        for (std::int64_t i = first; i < chunks; i += step) {
            const std::int64_t chunkBegin = i * chunk;
            const std::int64_t chunkEnd = std::min(chunkBegin + chunk, layout.streamBytes);
            const std::int64_t inEnd = layout.inOffset + std::min(chunkEnd, layout.inAvailable);
            for (std::int64_t begin = chunkBegin; begin < chunkEnd; begin += piece) {
                if (failure.load(std::memory_order_relaxed) != 0) return;
                unsigned char* buffer = writer ? writer->NextBuffer() : own.get();
                const std::int64_t size = std::min(piece, chunkEnd - begin);
                const std::int64_t present =
                    std::clamp<std::int64_t>(layout.inAvailable - begin, 0, size);
                if (!CipherFromSource(view, layout.inOffset + begin, present, buffer,
                                      static_cast<std::size_t>(size), inEnd, schedule, layout.order,
                                      options.path)) {
                    failure.store(static_cast<int>(IdeaStreamStatus::ReadFailed));
                    return;
                }
                const std::int64_t keep =
                    std::clamp<std::int64_t>(layout.outLimit - begin, 0, size);
                if (writer) {
                    writer->Submit(static_cast<std::size_t>(keep), layout.outOffset + begin);
                } else if (!io::WriteAllAt(target, buffer, static_cast<std::size_t>(keep),
                                           layout.outOffset + begin)) {
                    failure.store(static_cast<int>(IdeaStreamStatus::WriteFailed));
                    return;
                }
            }
        }
    };

    const std::int64_t threads =
        std::clamp<std::int64_t>(static_cast<std::int64_t>(options.threads), 1, chunks);
    std::vector<std::thread> helpers;
    for (std::int64_t t = 1; t < threads; ++t) helpers.emplace_back(work, t, threads);
    work(0, threads);
    for (std::thread& h : helpers) h.join();
    return static_cast<IdeaStreamStatus>(failure.load());
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
