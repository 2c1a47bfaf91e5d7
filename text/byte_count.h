#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "concurrency/workers.h"
#include "text/encoding.h"
#include "text/progress.h"

namespace varn {

using ByteCounts = std::array<std::uint64_t, 256>;

struct CountOptions {
    std::size_t bufferSize = std::size_t{1} << 20;  // bytes per step of the pass (and per thread)
    unsigned threads = 2;  // 1, or 2 to count on a second thread as well (progress stays here)
    const ThreadLauncher* launcher = nullptr;  // how the second thread starts (null: the usual way)
    // The counts are by 8-bit code: a KOI8-R or CP866 byte counts as its code, a UTF-8 character
    // as its code; characters without one (and invalid UTF-8) count as nothing.
    Encoding encoding = Encoding::Windows1251;
};

// Adds the counts of every byte of `data` to `counts` (raw bytes, no folding).
void CountBytes(const unsigned char* data, std::size_t size, ByteCounts& counts);

struct FileCount {
    std::uint64_t size = 0;        // the file's size when opened
    std::uint64_t total = 0;       // bytes counted (the size unless the file shrank meanwhile)
    std::uint64_t characters = 0;  // characters counted: the sum of the counts
};

// Counts the raw bytes (or the codes, see CountOptions::encoding) of the first `size` bytes of
// the file into `counts` (which it zeroes).
// `onOpen` receives the size before counting starts; `advance` receives the steps of the
// byte-index rule per buffer. Throws io::FileError: Open or NotRegular when the file cannot be
// opened (a folder, FIFO or device is refused without being opened), Read on a read failure.
FileCount CountFileBytes(const std::string& path, ByteCounts& counts,
                         const std::function<void(std::uint64_t size)>& onOpen,
                         const ProgressAdvance& advance, const CountOptions& options = {});

}  // namespace varn
