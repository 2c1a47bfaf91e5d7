#pragma once

#include <unistd.h>

#include <cerrno>

namespace varn::io {

// A file descriptor closed on every way out. Closing from the destructor leaves errno alone, so a
// failure path may set errno and simply return.
class Fd {
  public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    Fd(Fd&& other) noexcept : fd_(other.Release()) {}
    Fd& operator=(Fd&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() {
        const int err = errno;
        Close();
        errno = err;
    }

    int get() const { return fd_; }
    bool ok() const { return fd_ >= 0; }
    // False when close reports an error (a delayed write error shows here; errno tells why).
    // Closing twice is harmless.
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
    int Release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

  private:
    int fd_;
};

}  // namespace varn::io
