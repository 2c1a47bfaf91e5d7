#include "io/file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "io/transfer.h"

namespace varn {

InputFile::InputFile(const std::string& path) : path_(path) {
    struct stat st {};
    fd_ = io::OpenRegular(path, O_RDONLY, st, failure_);
    if (!fd_.ok()) return;
    version_ = io::VersionOf(st);
    mode_ = st.st_mode & 07777;
    ::posix_fadvise(fd_.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
}

std::int64_t InputFile::ReadAt(std::uint64_t offset, unsigned char* buffer,
                               std::size_t want) const {
    return io::ReadUpToAt(fd_.get(), buffer, want, offset);
}

std::int64_t InputFile::Read(unsigned char* buffer, std::size_t want) const {
    return io::ReadUpTo(fd_.get(), buffer, want);
}

PieceReader::PieceReader(const InputFile& file, std::size_t pieceSize)
    : file_(file), pieceSize_(std::max<std::size_t>(pieceSize, 1)) {}

std::int64_t PieceReader::Next(const unsigned char*& data) {
    if (!buffer_) buffer_.reset(new unsigned char[pieceSize_]);
    data = buffer_.get();
    return file_.Read(buffer_.get(), pieceSize_);
}

}  // namespace varn
