#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace varn::io {

// Small files read and written whole. Each throws FileError with what failed.

// The size of a regular file. Open or NotRegular.
std::uint64_t TakeSize(const std::string& path);

// The bytes of a regular file. Open, NotRegular or Read.
std::string ReadWholeFile(const std::string& path);

// The bytes of an open file from its start. Read.
std::string ReadWholeDescriptor(int fd, const std::string& path);

// Puts `bytes` in place of the file (or creates it) atomically, keeping the permission bits of
// the file replaced. Create, Write or Replace.
void ReplaceWholeFile(const std::string& path, std::string_view bytes);

}  // namespace varn::io
