#pragma once

// The one read/write loop of the program: every transfer retries interrupted and short calls the
// same way.

#include <cstddef>
#include <cstdint>

namespace varn::io {

// Reads up to `want` bytes, from the current position or at `offset`; returns the bytes read
// (fewer only at the end of the file) or -1 with errno set (ECANCELED once the user has asked to
// stop, see cancellation.h).
std::int64_t ReadUpTo(int fd, unsigned char* data, std::size_t want);
std::int64_t ReadUpToAt(int fd, unsigned char* data, std::size_t want, std::uint64_t offset);

// Reads exactly `size` bytes at `offset`; a file that ends before is a failure (errno ENODATA).
bool ReadAllAt(int fd, unsigned char* data, std::size_t size, std::uint64_t offset);

// Writes all `size` bytes, at the current position or at `offset`; false with errno set (ENOSPC
// when the system accepted nothing without saying why).
bool WriteAll(int fd, const void* data, std::size_t size);
bool WriteAllAt(int fd, const void* data, std::size_t size, std::uint64_t offset);

}  // namespace varn::io
