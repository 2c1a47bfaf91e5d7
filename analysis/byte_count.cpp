#include "analysis/byte_count.h"

#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <vector>

#include "analysis/file_reader.h"

namespace varn {

namespace {

// Eight interleaved sub-histograms, so that neighbouring equal bytes do not wait on one counter,
// and a shortcut for sixteen equal bytes, so that long runs cost no more than random data. uint32
// is safe while one call sees less than 2^32 bytes per lane; larger inputs are cut into pieces.
constexpr std::size_t kLanes = 8;
constexpr std::size_t kPieceLimit = std::size_t{1} << 31;
constexpr std::size_t kPrefetchDistance = 4096;

void CountPiece(const unsigned char* data, std::size_t size, ByteCounts& counts) {
    alignas(64) std::uint32_t lane[kLanes][256];
    std::memset(lane, 0, sizeof lane);
    std::size_t i = 0;
    for (; i + 16 <= size; i += 16) {
        // The increments keep the load ports busy; fetch well ahead of a stream from memory.
        if ((i & 63) == 0) __builtin_prefetch(data + i + kPrefetchDistance);
        std::uint64_t a;
        std::uint64_t b;
        std::memcpy(&a, data + i, 8);
        std::memcpy(&b, data + i + 8, 8);
        if (a == b && a == (a & 0xFF) * 0x0101010101010101ull) {
            // Sixteen equal bytes: one addition instead of sixteen dependent increments.
            lane[0][a & 0xFF] += 16;
            continue;
        }
        ++lane[0][a & 0xFF];
        ++lane[1][(a >> 8) & 0xFF];
        ++lane[2][(a >> 16) & 0xFF];
        ++lane[3][(a >> 24) & 0xFF];
        ++lane[4][(a >> 32) & 0xFF];
        ++lane[5][(a >> 40) & 0xFF];
        ++lane[6][(a >> 48) & 0xFF];
        ++lane[7][a >> 56];
        ++lane[0][b & 0xFF];
        ++lane[1][(b >> 8) & 0xFF];
        ++lane[2][(b >> 16) & 0xFF];
        ++lane[3][(b >> 24) & 0xFF];
        ++lane[4][(b >> 32) & 0xFF];
        ++lane[5][(b >> 40) & 0xFF];
        ++lane[6][(b >> 48) & 0xFF];
        ++lane[7][b >> 56];
    }
    for (; i < size; ++i) ++lane[0][data[i]];
    for (std::size_t c = 0; c < 256; ++c) {
        std::uint64_t sum = 0;
        for (std::size_t l = 0; l < kLanes; ++l) sum += lane[l][c];
        counts[c] += sum;
    }
}

struct Slice {
    std::uint64_t offset = 0;
    std::size_t want = 0;
    std::int64_t got = 0;
    ByteCounts counts{};                // this slice only, merged once the slices before it are
    std::vector<unsigned char> buffer;  // for reads when the slice is not mapped
    bool counted = false;
};

constexpr std::size_t kReadPiece = std::size_t{1} << 20;

// Maps the slice when it can (no copy through a buffer), else reads it into `buffer`.
void ReadAndCount(const InputFile& file, Slice& slice, bool map) {
    slice.counts.fill(0);
    slice.got = 0;
    if (slice.want == 0) return;
    if (map) {
        const unsigned char* view = MapFilePart(file.Descriptor(), slice.offset, slice.want);
        if (view != nullptr) {
            CountBytes(view, slice.want, slice.counts);
            UnmapFilePart(view, slice.want);
            slice.got = static_cast<std::int64_t>(slice.want);
            return;
        }
    }
    slice.buffer.resize(std::min(slice.want, kReadPiece));
    std::size_t done = 0;
    while (done < slice.want) {
        const std::size_t piece = std::min(slice.want - done, slice.buffer.size());
        const std::int64_t got = file.ReadAt(slice.offset + done, slice.buffer.data(), piece);
        if (got < 0) {
            slice.got = -1;
            return;
        }
        CountBytes(slice.buffer.data(), static_cast<std::size_t>(got), slice.counts);
        done += static_cast<std::size_t>(got);
        if (static_cast<std::size_t>(got) < piece) break;
    }
    slice.got = static_cast<std::int64_t>(done);
}

// Consecutive slices of the file, handed to whichever thread is free, so neither waits for the
// other at every step; the calling thread merges them in file order, so progress stays in order.
// At most `slots` slices are ahead of the merged ones: memory stays constant.
class SliceRing {
  public:
    SliceRing(std::size_t slots, std::uint64_t size, std::size_t sliceSize)
        : slices_(slots),
          size_(size),
          sliceSize_(sliceSize),
          count_((size + sliceSize - 1) / sliceSize) {}

    // The next slice to count, or nullptr when every slice is taken or the pass stopped; waits
    // while the ring is full when `wait` is set, else returns nullptr.
    Slice* Claim(bool wait) {
        std::unique_lock lock(mutex_);
        const auto room = [&] {
            return stopped_ || taken_ == count_ || taken_ < merged_ + Slots();
        };
        if (wait) {
            freed_.wait(lock, room);
        } else if (!room()) {
            return nullptr;
        }
        if (stopped_ || taken_ == count_) return nullptr;
        Slice& slice = slices_[taken_ % Slots()];
        slice.offset = taken_ * sliceSize_;
        slice.want =
            static_cast<std::size_t>(std::min<std::uint64_t>(sliceSize_, size_ - slice.offset));
        slice.counted = false;
        ++taken_;
        return &slice;
    }
    void Counted(Slice& slice) {
        {
            const std::lock_guard lock(mutex_);
            slice.counted = true;
        }
        counted_.notify_one();
    }
    // The next slice in file order once counted (waiting for it when `wait` is set, else
    // nullptr if it is not yet), or nullptr when all are merged.
    Slice* NextCounted(bool wait) {
        std::unique_lock lock(mutex_);
        if (merged_ == count_ || (!wait && merged_ == taken_)) return nullptr;
        Slice& slice = slices_[merged_ % Slots()];
        if (wait) counted_.wait(lock, [&] { return slice.counted; });
        return slice.counted ? &slice : nullptr;
    }
    void Merged() {
        {
            const std::lock_guard lock(mutex_);
            slices_[merged_ % Slots()].counted = false;
            ++merged_;
        }
        freed_.notify_one();
    }
    void Stop() {
        {
            const std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        freed_.notify_one();
    }

  private:
    std::uint64_t Slots() const { return slices_.size(); }

    std::vector<Slice> slices_;
    std::uint64_t size_;
    std::uint64_t sliceSize_;
    std::uint64_t count_;
    std::mutex mutex_;
    std::condition_variable freed_;
    std::condition_variable counted_;
    std::uint64_t taken_ = 0;
    std::uint64_t merged_ = 0;
    bool stopped_ = false;
};

constexpr std::size_t kSlicesAhead = 4;

}  // namespace

void CountBytes(const unsigned char* data, std::size_t size, ByteCounts& counts) {
    while (size > 0) {
        const std::size_t piece = std::min(size, kPieceLimit);
        CountPiece(data, piece, counts);
        data += piece;
        size -= piece;
    }
}

FileCount CountFileBytes(const std::string& path, ByteCounts& counts,
                         const std::function<void(std::uint64_t size)>& onOpen,
                         const ProgressAdvance& advance, const CountOptions& options) {
    counts.fill(0);
    InputFile file(path);
    if (!file.IsOpen()) throw io::FileError(file.Failure());
    FileCount result;
    result.size = file.Size();
    if (onOpen) onOpen(result.size);

    const std::size_t bufferSize = std::max<std::size_t>(options.bufferSize, 1);
    // A second thread only pays off when each gets at least one whole buffer.
    bool parallel = options.threads >= 2 && result.size > 2 * bufferSize;

    // Mapping needs page-aligned offsets.
    const bool map =
        options.mapFile && bufferSize % static_cast<std::size_t>(::sysconf(_SC_PAGESIZE)) == 0;
    SliceRing ring(kSlicesAhead, result.size, bufferSize);
    std::thread worker;
    if (parallel) {
        try {
            worker = std::thread([&] {
                while (Slice* slice = ring.Claim(true)) {
                    ReadAndCount(file, *slice, map);
                    ring.Counted(*slice);
                }
            });
        } catch (const std::system_error&) {
            parallel = false;  // no second thread to be had: this one counts alone
        }
    }
    auto stopWorker = [&] {
        if (!parallel) return;
        ring.Stop();
        worker.join();
    };

    std::uint64_t position = 0;
    bool failed = false;
    bool ended = false;
    try {
        while (!ended) {
            // Count a slice here when one is free, then merge whatever is ready in order; with
            // nothing to count, wait for the next slice in order.
            Slice* mine = ring.Claim(false);
            if (mine != nullptr) {
                ReadAndCount(file, *mine, map);
                ring.Counted(*mine);
            }
            bool wait = mine == nullptr;
            for (;;) {
                Slice* slice = ring.NextCounted(wait);
                if (slice == nullptr) {
                    // All merged (when waiting), or the next one is still being counted.
                    if (wait) ended = true;
                    break;
                }
                wait = false;
                if (slice->got < 0) {
                    failed = true;
                    ended = true;
                    break;
                }
                for (std::size_t c = 0; c < 256; ++c) counts[c] += slice->counts[c];
                const std::uint64_t before = position;
                position += static_cast<std::uint64_t>(slice->got);
                // A file that shrank meanwhile ends at its first short read; later bytes are not
                // in order.
                const bool shortRead = static_cast<std::size_t>(slice->got) < slice->want;
                ring.Merged();
                if (advance && position > before)
                    advance(StepsBefore(position) - StepsBefore(before));
                if (shortRead) {
                    ended = true;
                    break;
                }
            }
        }
    } catch (...) {
        // A throwing progress callback must not leave the worker waiting.
        stopWorker();
        throw;
    }
    stopWorker();
    if (failed) throw io::FileError(io::FailureNow(io::FailureKind::Read, path));

    result.total = position;
    return result;
}

}  // namespace varn
