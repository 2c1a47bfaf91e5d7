#include "io/transfer.h"

#include <unistd.h>

#include <cerrno>

#include "io/cancellation.h"

namespace varn::io {

namespace {

// Calls step(done) until `want` bytes are moved or a call moves none; retries interrupted calls.
// Returns the bytes moved, or -1 with errno set.
template <class Step>
std::int64_t MoveBytes(std::size_t want, Step step) {
    std::size_t done = 0;
    while (done < want) {
        const ssize_t n = step(done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<std::int64_t>(done);
}

bool WroteAll(std::int64_t moved, std::size_t size) {
    if (moved == static_cast<std::int64_t>(size)) return true;
    if (moved >= 0) errno = ENOSPC;
    return false;
}

}  // namespace

std::int64_t ReadUpTo(int fd, unsigned char* data, std::size_t want) {
    if (RefuseCancelledRead()) return -1;
    return MoveBytes(want, [&](std::size_t done) { return ::read(fd, data + done, want - done); });
}

std::int64_t ReadUpToAt(int fd, unsigned char* data, std::size_t want, std::uint64_t offset) {
    if (RefuseCancelledRead()) return -1;
    return MoveBytes(want, [&](std::size_t done) {
        return ::pread(fd, data + done, want - done, static_cast<off_t>(offset + done));
    });
}

bool ReadAllAt(int fd, unsigned char* data, std::size_t size, std::uint64_t offset) {
    const std::int64_t got = ReadUpToAt(fd, data, size, offset);
    if (got == static_cast<std::int64_t>(size)) return true;
    if (got >= 0) errno = ENODATA;
    return false;
}

bool WriteAll(int fd, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    return WroteAll(
        MoveBytes(size, [&](std::size_t done) { return ::write(fd, bytes + done, size - done); }),
        size);
}

bool WriteAllAt(int fd, const void* data, std::size_t size, std::uint64_t offset) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    return WroteAll(MoveBytes(size,
                              [&](std::size_t done) {
                                  return ::pwrite(fd, bytes + done, size - done,
                                                  static_cast<off_t>(offset + done));
                              }),
                    size);
}

}  // namespace varn::io
