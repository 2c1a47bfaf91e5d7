#include "passgen/system_random_source.h"

#include <sys/random.h>

#include <cerrno>
#include <system_error>

namespace varn {

std::uint16_t SystemRandomSource::Draw() {
    if (next_ == buffer_.size()) Refill();
    return buffer_[next_++];
}

void SystemRandomSource::Refill() {
    auto* bytes = reinterpret_cast<unsigned char*>(buffer_.data());
    const std::size_t total = sizeof(buffer_);
    std::size_t filled = 0;
    while (filled < total) {
        // Blocks only until the kernel's pool is first initialised; a signal may cut it short.
        const ssize_t got = getrandom(bytes + filled, total - filled, 0);
        if (got < 0) {
            if (errno == EINTR) continue;
            throw std::system_error(errno, std::generic_category(), "getrandom");
        }
        filled += static_cast<std::size_t>(got);
    }
    next_ = 0;
}

}  // namespace varn
