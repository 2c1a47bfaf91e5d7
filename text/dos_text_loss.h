#pragma once

#include <cstddef>
#include <cstdint>

namespace varn {

// Tells, from a file's bytes fed in order as a pass reads them, whether DOS text mode loses part
// of it: reading ends at a byte 26 that is not the file's last byte, or drops a byte 13 that no
// byte 10 follows, so the file would not come back from a pass there and back.
class DosTextLossScanner {
  public:
    // `fileSize`: the file's size when opened, which tells whether a byte 26 at the end of a
    // buffer is the last of the file.
    explicit DosTextLossScanner(std::uint64_t fileSize) : fileSize_(fileSize) {}
    // The next `size` bytes; `last`: none follow.
    void Feed(const unsigned char* data, std::size_t size, bool last);
    bool Lost() const { return lost_; }

  private:
    std::uint64_t fileSize_;
    std::uint64_t offset_ = 0;
    bool carriageReturnBefore_ = false;  // the byte before the next one fed is a 13
    bool lost_ = false;
};

}  // namespace varn
