#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "io/open_file.h"

namespace varn {

// A regular file open for reading. Anything else (a folder, FIFO, device or socket) is refused
// without being opened, so nothing blocks; `Failure` then says why.
class InputFile {
  public:
    InputFile() = default;
    explicit InputFile(const std::string& path);
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    bool IsOpen() const { return fd_.ok(); }
    int Descriptor() const { return fd_.get(); }
    std::uint64_t Size() const { return size_; }
    // Device and inode, to tell whether another name is this same file.
    io::FileId Id() const { return id_; }
    // Permission bits.
    mode_t Mode() const { return mode_; }
    const io::Failure& Failure() const { return failure_; }
    // The name it was opened by, for the failures of a pass over it.
    const std::string& Path() const { return path_; }
    // Always true for an open file: it can be read at any offset and mapped.
    bool IsRegular() const { return fd_.ok(); }

    // Reads up to `want` bytes at `offset`, retrying short reads; returns the bytes read
    // (fewer only at the end of the file), or -1 on a read error.
    std::int64_t ReadAt(std::uint64_t offset, unsigned char* buffer, std::size_t want) const;

    // Reads on from the current position, retrying short reads; same results as ReadAt.
    std::int64_t Read(unsigned char* buffer, std::size_t want) const;

  private:
    io::Fd fd_;
    std::string path_;
    std::uint64_t size_ = 0;
    io::FileId id_;
    mode_t mode_ = 0;
    io::Failure failure_;
};

// Maps `size` bytes of the file at the page-aligned `offset` and brings them into memory, or
// returns nullptr when that fails: when the file no longer holds those bytes (it was cut short
// meanwhile) or a page among them cannot be read. read() then reports the end or the error,
// where touching such a page would kill the process.
const unsigned char* MapFilePart(int fd, std::uint64_t offset, std::size_t size);
void UnmapFilePart(const unsigned char* data, std::size_t size);

// Hands out a file's bytes in consecutive pieces of a fixed size, from the start. A regular file
// is mapped a window at a time when `map` is set (no copy through a buffer); whatever cannot be
// mapped (a file that is not regular, a part past the file's current end) is read.
class PieceReader {
  public:
    PieceReader(const InputFile& file, std::size_t pieceSize, bool map);
    PieceReader(const PieceReader&) = delete;
    PieceReader& operator=(const PieceReader&) = delete;
    ~PieceReader();

    // Points `data` at the next piece and returns its size: fewer than the piece size only at
    // the end of the file, or -1 on a read error. `data` stays valid until the next call.
    std::int64_t Next(const unsigned char*& data);

  private:
    bool MapWindow(std::uint64_t offset, std::size_t want, std::uint64_t fileSize);
    void Unmap();

    const InputFile& file_;
    std::size_t pieceSize_;
    bool map_;
    std::uint64_t offset_ = 0;
    std::unique_ptr<unsigned char[]> buffer_;
    const unsigned char* window_ = nullptr;
    std::uint64_t windowOffset_ = 0;
    std::size_t windowSize_ = 0;
};

}  // namespace varn
