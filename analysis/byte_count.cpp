#include "analysis/byte_count.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <barrier>
#include <cstring>
#include <stdexcept>
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
    ByteCounts counts{};  // this round only, merged once the round is known to be in order
    std::vector<unsigned char> buffer;  // for reads when the slice is not mapped
};

constexpr std::size_t kReadPiece = std::size_t{1} << 20;

// Maps the slice when it can (no copy through a buffer), else reads it into `buffer`.
void ReadAndCount(const InputFile& file, Slice& slice, bool map) {
    slice.counts.fill(0);
    slice.got = 0;
    if (slice.want == 0) return;
    struct stat st {};
    // A file cut short meanwhile is read, not mapped: touching a mapped page past its end
    // would kill the process.
    if (map && ::fstat(file.Descriptor(), &st) == 0 &&
        static_cast<std::uint64_t>(st.st_size) >= slice.offset + slice.want) {
        void* view = ::mmap(nullptr, slice.want, PROT_READ, MAP_PRIVATE | MAP_POPULATE,
                            file.Descriptor(), static_cast<off_t>(slice.offset));
        if (view != MAP_FAILED) {
            CountBytes(static_cast<const unsigned char*>(view), slice.want, slice.counts);
            ::munmap(view, slice.want);
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
    if (!file.IsOpen()) throw std::runtime_error("Cannot open file " + path);
    FileCount result;
    result.size = file.Size();
    if (onOpen) onOpen(result.size);

    const std::size_t bufferSize = std::max<std::size_t>(options.bufferSize, 1);
    // A second thread only pays off when each gets at least one whole buffer.
    const bool parallel = options.threads >= 2 && result.size > 2 * bufferSize;
    const unsigned threads = parallel ? 2 : 1;

    // Mapping needs page-aligned offsets.
    const bool map =
        options.mapFile && bufferSize % static_cast<std::size_t>(::sysconf(_SC_PAGESIZE)) == 0;
    std::vector<Slice> slices(threads);

    // Each round reads consecutive buffers, one per thread, so progress stays in file order.
    std::barrier sync(parallel ? 2 : 1);
    std::atomic<bool> finished{false};
    std::thread worker;
    if (parallel) {
        worker = std::thread([&] {
            for (;;) {
                sync.arrive_and_wait();
                if (finished.load()) return;
                ReadAndCount(file, slices[1], map);
                sync.arrive_and_wait();
            }
        });
    }

    auto stopWorker = [&] {
        if (!parallel) return;
        finished.store(true);
        sync.arrive_and_wait();
        worker.join();
    };

    std::uint64_t position = 0;
    bool failed = false;
    bool ended = false;
    try {
        while (position < result.size && !ended) {
            for (unsigned t = 0; t < threads; ++t) {
                const std::uint64_t start = std::min(position + t * bufferSize, result.size);
                slices[t].offset = start;
                slices[t].want = static_cast<std::size_t>(
                    std::min<std::uint64_t>(bufferSize, result.size - start));
            }
            if (parallel) sync.arrive_and_wait();
            ReadAndCount(file, slices[0], map);
            if (parallel) sync.arrive_and_wait();

            const std::uint64_t before = position;
            for (unsigned t = 0; t < threads; ++t) {
                if (slices[t].got < 0) {
                    failed = true;
                    break;
                }
                for (std::size_t c = 0; c < 256; ++c) counts[c] += slices[t].counts[c];
                position += static_cast<std::uint64_t>(slices[t].got);
                // A file that shrank meanwhile ends at its first short read; later bytes are not
                // in order.
                if (static_cast<std::size_t>(slices[t].got) < slices[t].want) {
                    ended = true;
                    break;
                }
            }
            if (failed) break;
            if (advance && position > before) advance(StepsBefore(position) - StepsBefore(before));
            if (position == before) ended = true;
        }
    } catch (...) {
        // A throwing progress callback must not leave the worker waiting.
        stopWorker();
        throw;
    }
    stopWorker();
    if (failed) throw std::runtime_error("Stream read error");

    result.total = position;
    return result;
}

}  // namespace varn
