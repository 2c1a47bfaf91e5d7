#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "io/file_version.h"
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
    std::uint64_t Size() const { return static_cast<std::uint64_t>(version_.size); }
    // Device and inode, to tell whether another name is this same file.
    io::FileId Id() const { return version_.id; }
    // The file as it was opened, to tell whether it changed under a pass.
    const io::FileVersion& Version() const { return version_; }
    // Permission bits.
    mode_t Mode() const { return mode_; }
    const io::Failure& Failure() const { return failure_; }
    // The name it was opened by, for the failures of a pass over it.
    const std::string& Path() const { return path_; }

    // Reads up to `want` bytes at `offset`, retrying short reads; returns the bytes read
    // (fewer only at the end of the file), or -1 on a read error.
    std::int64_t ReadAt(std::uint64_t offset, unsigned char* buffer, std::size_t want) const;

    // Reads on from the current position, retrying short reads; same results as ReadAt.
    std::int64_t Read(unsigned char* buffer, std::size_t want) const;

  private:
    io::Fd fd_;
    std::string path_;
    io::FileVersion version_;
    mode_t mode_ = 0;
    io::Failure failure_;
};

// Hands out a file's bytes in consecutive pieces of a fixed size, from the start, read into one
// reused buffer (a mapping would pay a page fault per 4 KiB, which on virtual machines costs more
// than the copy).
class PieceReader {
  public:
    PieceReader(const InputFile& file, std::size_t pieceSize);
    PieceReader(const PieceReader&) = delete;
    PieceReader& operator=(const PieceReader&) = delete;

    // Points `data` at the next piece and returns its size: fewer than the piece size only at
    // the end of the file, or -1 on a read error. `data` stays valid until the next call.
    std::int64_t Next(const unsigned char*& data);

  private:
    const InputFile& file_;
    std::size_t pieceSize_;
    std::unique_ptr<unsigned char[]> buffer_;
};

}  // namespace varn
