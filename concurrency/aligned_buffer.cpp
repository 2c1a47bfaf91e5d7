#include "concurrency/aligned_buffer.h"

#include <cstdlib>
#include <new>

namespace varn {

AlignedBuffer::AlignedBuffer(std::size_t size) : size_(size) {
    if (size == 0) return;
    // aligned_alloc wants a whole number of alignments.
    const std::size_t rounded = (size + kAlignment - 1) / kAlignment * kAlignment;
    void* p = std::aligned_alloc(kAlignment, rounded);
    if (p == nullptr) throw std::bad_alloc();
    data_.reset(static_cast<unsigned char*>(p));
}

void AlignedBuffer::Free::operator()(unsigned char* p) const {
    std::free(p);
}

}  // namespace varn
