#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace varn {

// A read-only file descriptor that closes itself. A folder does not count as an open file.
class InputFile {
  public:
    InputFile() = default;
    explicit InputFile(const std::string& path);
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile();

    bool IsOpen() const { return fd_ >= 0; }
    int Descriptor() const { return fd_; }
    std::uint64_t Size() const { return size_; }

    // Reads up to `want` bytes at `offset`, retrying short reads; returns the bytes read
    // (fewer only at the end of the file), or -1 on a read error.
    std::int64_t ReadAt(std::uint64_t offset, unsigned char* buffer, std::size_t want) const;

    // Reads on from the current position, retrying short reads; same results as ReadAt.
    std::int64_t Read(unsigned char* buffer, std::size_t want) const;

  private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

// True when both names exist and are the same file (device and inode).
bool SameFile(const std::string& a, const std::string& b);

}  // namespace varn
