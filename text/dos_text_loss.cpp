#include "text/dos_text_loss.h"

#include <cstring>
#include <memory>

namespace varn {

bool DosTextWouldLose(const InputFile& input, io::Failure& failure) {
    constexpr std::size_t kBuffer = std::size_t{1} << 20;
    const auto buffer = std::make_unique<unsigned char[]>(kBuffer);
    std::uint64_t offset = 0;
    bool carriageReturnBefore = false;  // the last byte of the previous buffer was a 13
    for (;;) {
        const std::int64_t got = input.ReadAt(offset, buffer.get(), kBuffer);
        if (got < 0) {
            failure = io::FailureNow(io::FailureKind::Read, input.Path());
            return false;
        }
        const auto size = static_cast<std::size_t>(got);
        if (size == 0) return carriageReturnBefore;
        const unsigned char* data = buffer.get();
        if (carriageReturnBefore && data[0] != 10) return true;
        if (const void* eof = std::memchr(data, 26, size)) {
            const auto at = static_cast<std::size_t>(static_cast<const unsigned char*>(eof) - data);
            // The end of the input: lost is whatever follows it.
            if (at + 1 < size) return true;
            unsigned char next = 0;
            if (input.ReadAt(offset + size, &next, 1) != 0) return true;
        }
        for (const unsigned char* cr = data;
             (cr = static_cast<const unsigned char*>(std::memchr(cr, 13, data + size - cr)));
             ++cr) {
            if (cr + 1 < data + size && cr[1] != 10) return true;
        }
        carriageReturnBefore = data[size - 1] == 13;
        offset += size;
        if (size < kBuffer) return carriageReturnBefore;
    }
}

}  // namespace varn
