#pragma once

#include <cstddef>
#include <memory>

namespace varn {

// A fixed block of bytes on a page boundary, allocated once and reused for every piece of a pass:
// read() copies into whole pages and vector loads never split a cache line at its start.
class AlignedBuffer {
  public:
    static constexpr std::size_t kAlignment = 4096;

    AlignedBuffer() = default;
    // Throws std::bad_alloc when the memory cannot be had.
    explicit AlignedBuffer(std::size_t size);

    unsigned char* Data() const { return data_.get(); }
    std::size_t Size() const { return size_; }

  private:
    struct Free {
        void operator()(unsigned char* p) const;
    };
    std::unique_ptr<unsigned char, Free> data_;
    std::size_t size_ = 0;
};

}  // namespace varn
