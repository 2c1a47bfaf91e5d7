#include "text/dos_text_loss.h"

#include <cstring>

namespace varn {

void DosTextLossScanner::Feed(const unsigned char* data, std::size_t size, bool last) {
    if (lost_) return;
    if (size > 0) {
        if (carriageReturnBefore_ && data[0] != 10) {
            lost_ = true;
            return;
        }
        if (const void* eof = std::memchr(data, 26, size)) {
            const auto at = static_cast<std::size_t>(static_cast<const unsigned char*>(eof) - data);
            // The end of the input: lost is whatever follows it.
            if (at + 1 < size || offset_ + size < fileSize_) {
                lost_ = true;
                return;
            }
        }
        for (const unsigned char* cr = data;
             (cr = static_cast<const unsigned char*>(std::memchr(cr, 13, data + size - cr)));
             ++cr) {
            if (cr + 1 < data + size && cr[1] != 10) {
                lost_ = true;
                return;
            }
        }
        carriageReturnBefore_ = data[size - 1] == 13;
        offset_ += size;
    }
    if (last && carriageReturnBefore_) lost_ = true;
}

}  // namespace varn
