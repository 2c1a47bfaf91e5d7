#include "text/byte_count.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "concurrency/slot_ring.h"
#include "concurrency/workers.h"
#include "io/file_reader.h"
#include "text/byte_lanes.h"
#include "text/utf8_pass.h"

namespace varn {

namespace {

// Counted in ByteLanes, with a shortcut for sixteen equal bytes, so that long runs cost no more
// than random data. Its 32-bit lanes hold less than 2^32 bytes: larger inputs are cut into pieces.
constexpr std::size_t kPieceLimit = std::size_t{1} << 31;
constexpr std::size_t kPrefetchDistance = 4096;

void CountPiece(const unsigned char* data, std::size_t size, ByteCounts& counts) {
    ByteLanes lanes;
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
            lanes.lane[0][a & 0xFF] += 16;
            continue;
        }
        lanes.AddWord(a);
        lanes.AddWord(b);
    }
    for (; i < size; ++i) ++lanes.lane[0][data[i]];
    lanes.AddTo(counts);
}

// Room in a buffer of UTF-8 for the byte before a piece and the two after it.
constexpr std::size_t kUtf8Margin = 3;

// One slice of the file: where it is and, once counted, what it held.
struct Slice {
    std::uint64_t offset = 0;
    std::size_t want = 0;
    std::int64_t got = 0;  // bytes counted; -1 on a read error
    int error = 0;         // errno of a failed read, taken on the thread that read
    ByteCounts counts{};   // this slice only, merged once the slices before it are
};
using SliceRing = SlotRing<Slice>;

// Copies the slice through the slot's buffer a cache-sized piece at a time, so the counting
// reads from the core's own cache.
void ReadAndCount(const InputFile& file, SliceRing::Slot& slot, std::uint64_t sliceSize,
                  std::uint64_t fileSize, bool utf8) {
    Slice& slice = slot.payload;
    slice.offset = slot.sequence * sliceSize;
    slice.want = static_cast<std::size_t>(std::min(sliceSize, fileSize - slice.offset));
    slice.counts.fill(0);
    slice.got = 0;
    unsigned char* buffer = slot.buffer.Data();
    std::size_t done = 0;
    if (utf8) {
        // Each piece is read with the byte before it and the two after it, which tell the
        // characters at its ends (0 where the file has none).
        Utf8Counter characters;
        const std::size_t pieceSize = slot.buffer.Size() - kUtf8Margin;
        while (done < slice.want) {
            const std::uint64_t at = slice.offset + done;
            const std::size_t piece = std::min(slice.want - done, pieceSize);
            const std::size_t before = at > 0 ? 1 : 0;
            buffer[0] = 0;
            const std::int64_t got =
                file.ReadAt(at - before, buffer + 1 - before, piece + before + 2);
            if (got < 0) {
                slice.error = errno;
                slice.got = -1;
                return;
            }
            const std::size_t available =
                static_cast<std::size_t>(got) > before ? static_cast<std::size_t>(got) - before : 0;
            const std::size_t counted = std::min(piece, available);
            if (available < piece + 2)
                std::memset(buffer + 1 + available, 0, piece + 2 - available);
            characters.Count(buffer + 1, counted);
            done += counted;
            if (counted < piece) break;
        }
        characters.AddTo(slice.counts);
        slice.got = static_cast<std::int64_t>(done);
        return;
    }
    while (done < slice.want) {
        const std::size_t piece = std::min(slice.want - done, slot.buffer.Size());
        const std::int64_t got = file.ReadAt(slice.offset + done, buffer, piece);
        if (got < 0) {
            slice.error = errno;
            slice.got = -1;
            return;
        }
        CountBytes(buffer, static_cast<std::size_t>(got), slice.counts);
        done += static_cast<std::size_t>(got);
        if (static_cast<std::size_t>(got) < piece) break;
    }
    slice.got = static_cast<std::int64_t>(done);
}

// Slices counted but not yet merged, at most: memory stays constant.
constexpr std::size_t kSlicesAhead = 4;
// Bytes read at a time: small enough to stay in the core's cache until counted.
constexpr std::size_t kReadPiece = std::size_t{256} << 10;

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

    const std::uint64_t sliceSize = std::max<std::size_t>(options.bufferSize, 1);
    // Mapping needs page-aligned offsets.
    const bool utf8 = options.encoding == Encoding::Utf8;
    const std::uint64_t slices = (result.size + sliceSize - 1) / sliceSize;
    SliceRing ring(kSlicesAhead,
                   utf8 ? std::min<std::uint64_t>(sliceSize, kReadPiece) + kUtf8Margin
                        : std::min<std::uint64_t>(sliceSize, kReadPiece),
                   slices);
    const auto count = [&](SliceRing::Slot& slot) {
        ReadAndCount(file, slot, sliceSize, result.size, utf8);
        ring.Publish(slot);
    };

    // Slices go to whichever thread is free, so neither waits for the other at every step; this
    // thread merges them in file order, so progress stays in order. A second thread only pays
    // off when each gets at least one whole slice; when none can be started, this one counts
    // alone.
    Workers workers([&] { ring.Stop(); },
                    options.launcher != nullptr ? *options.launcher : DefaultThreadLauncher());
    if (options.threads >= 2 && slices > 2) {
        workers.Start([&] {
            while (SliceRing::Slot* slot = ring.Claim()) count(*slot);
        });
    }

    std::uint64_t position = 0;
    bool failed = false;
    int readError = 0;
    for (bool ended = false; !ended;) {
        // Count a slice here when one is free, then merge whatever is ready in order; with
        // nothing to count, wait for the next slice in order.
        SliceRing::Slot* mine = ring.Claim(false);
        if (mine != nullptr) count(*mine);
        for (bool wait = mine == nullptr;; wait = false) {
            SliceRing::Slot* slot = ring.Take(wait);
            if (slot == nullptr) {
                // All merged or the pass stopped (when waiting), or the next one is still being
                // counted.
                ended = wait;
                break;
            }
            const Slice& slice = slot->payload;
            if (slice.got < 0) {
                failed = true;
                readError = slice.error;
                ended = true;
                break;
            }
            for (std::size_t c = 0; c < 256; ++c) counts[c] += slice.counts[c];
            const std::uint64_t before = position;
            position += static_cast<std::uint64_t>(slice.got);
            // A file that shrank meanwhile ends at its first short read; later bytes are not in
            // order.
            const bool shortRead = static_cast<std::size_t>(slice.got) < slice.want;
            ring.Release(*slot);
            if (advance && position > before) advance(StepsBefore(position) - StepsBefore(before));
            if (shortRead) {
                ended = true;
                break;
            }
        }
    }
    ring.Stop();
    workers.Join();
    if (failed) throw io::FileError(io::ReadFailure(path, readError));

    result.total = position;
    if (options.encoding == Encoding::Koi8r || options.encoding == Encoding::Cp866) {
        // Each byte counts as its code; bytes without one count as nothing.
        const CodePage& page = PageOf(options.encoding);
        ByteCounts codes{};
        for (int b = 0; b < 256; ++b) {
            if (page.toCode[b] >= 0) codes[static_cast<std::size_t>(page.toCode[b])] += counts[b];
        }
        counts = codes;
    }
    for (const std::uint64_t count : counts) result.characters += count;
    return result;
}

}  // namespace varn
