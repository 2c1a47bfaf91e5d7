#pragma once

// Descriptor helpers shared inside the module: one owner type and one positioned read/write-all
// loop, so that every file the module touches is closed and retried the same way.

#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>

// Kept in a namespace of their own: only this module includes them, and a plain varn::Fd could
// clash with a different one elsewhere in the program.
namespace varn::fdio {

// A descriptor closed on every way out. Closing from the destructor leaves errno alone, so a
// failure path may set errno and simply return.
class Fd {
  public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() {
        const int err = errno;
        Close();
        errno = err;
    }
    int get() const { return fd_; }
    bool ok() const { return fd_ >= 0; }
    // False when close reports an error (errno tells why); closing twice is harmless.
    bool Close() {
        if (fd_ < 0) return true;
        const bool closed = ::close(fd_) == 0;
        fd_ = -1;
        return closed;
    }
    void Reset(int fd) {
        Close();
        fd_ = fd;
    }

  private:
    int fd_;
};

// Retries pread/pwrite until all `size` bytes at `offset` are moved; a short file or a write
// that makes no progress counts as a failure.
template <class Byte, class Io>
bool TransferAt(Io io, int fd, Byte* data, std::size_t size, std::int64_t offset) {
    while (size > 0) {
        const ssize_t n = io(fd, data, size, offset);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
        offset += n;
    }
    return true;
}

// Reads exactly `size` bytes at `offset`.
inline bool ReadAllAt(int fd, unsigned char* data, std::size_t size, std::int64_t offset) {
    return TransferAt(::pread, fd, data, size, offset);
}

// Writes all `size` bytes at `offset`.
inline bool WriteAllAt(int fd, const unsigned char* data, std::size_t size, std::int64_t offset) {
    return TransferAt(::pwrite, fd, data, size, offset);
}

}  // namespace varn::fdio
