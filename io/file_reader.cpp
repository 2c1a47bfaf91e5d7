#include "io/file_reader.h"

#include <fcntl.h>
#include <sys/mman.h>
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
    size_ = static_cast<std::uint64_t>(st.st_size);
    id_ = io::IdOf(st);
    mode_ = st.st_mode & 07777;
    ::posix_fadvise(fd_.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
}

namespace {

bool FileHolds(int fd, std::uint64_t end) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 && static_cast<std::uint64_t>(st.st_size) >= end;
}

}  // namespace

std::int64_t InputFile::ReadAt(std::uint64_t offset, unsigned char* buffer,
                               std::size_t want) const {
    return io::ReadUpToAt(fd_.get(), buffer, want, offset);
}

std::int64_t InputFile::Read(unsigned char* buffer, std::size_t want) const {
    return io::ReadUpTo(fd_.get(), buffer, want);
}

namespace {
// Large enough that mapping costs little per byte, small enough to keep the mapped memory low.
constexpr std::size_t kMapWindow = std::size_t{4} << 20;
}  // namespace

const unsigned char* MapFilePart(int fd, std::uint64_t offset, std::size_t size) {
    if (size == 0 || !FileHolds(fd, offset + size)) return nullptr;
    void* view = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, static_cast<off_t>(offset));
    if (view == MAP_FAILED) return nullptr;
    if (::madvise(view, size, MADV_POPULATE_READ) != 0) {
        ::munmap(view, size);
        return nullptr;
    }
    return static_cast<const unsigned char*>(view);
}

void UnmapFilePart(const unsigned char* data, std::size_t size) {
    if (data != nullptr) ::munmap(const_cast<unsigned char*>(data), size);
}

PieceReader::PieceReader(const InputFile& file, std::size_t pieceSize, bool map)
    : file_(file), pieceSize_(std::max<std::size_t>(pieceSize, 1)), map_(map && file.IsRegular()) {}

PieceReader::~PieceReader() {
    Unmap();
}

void PieceReader::Unmap() {
    UnmapFilePart(window_, windowSize_);
    window_ = nullptr;
    windowSize_ = 0;
}

bool PieceReader::MapWindow(std::uint64_t offset, std::size_t want, std::uint64_t fileSize) {
    Unmap();
    const auto page = static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    const std::uint64_t start = offset - offset % page;
    const std::uint64_t end = std::min(fileSize, std::max(start + kMapWindow, offset + want));
    const auto size = static_cast<std::size_t>(end - start);
    window_ = MapFilePart(file_.Descriptor(), start, size);
    if (window_ == nullptr) return false;
    windowOffset_ = start;
    windowSize_ = size;
    return true;
}

std::int64_t PieceReader::Next(const unsigned char*& data) {
    const std::size_t want = pieceSize_;
    if (map_) {
        // A file cut short meanwhile is read, not mapped: touching a mapped page past its end
        // would kill the process.
        struct stat st {};
        if (::fstat(file_.Descriptor(), &st) == 0 &&
            static_cast<std::uint64_t>(st.st_size) >= offset_ + want) {
            const bool inWindow = window_ != nullptr && offset_ >= windowOffset_ &&
                                  offset_ + want <= windowOffset_ + windowSize_;
            if (inWindow || MapWindow(offset_, want, static_cast<std::uint64_t>(st.st_size))) {
                data = window_ + (offset_ - windowOffset_);
                offset_ += want;
                return static_cast<std::int64_t>(want);
            }
        }
        Unmap();
    }
    if (!buffer_) buffer_.reset(new unsigned char[want]);
    data = buffer_.get();
    const std::int64_t got =
        map_ ? file_.ReadAt(offset_, buffer_.get(), want) : file_.Read(buffer_.get(), want);
    if (got > 0) offset_ += static_cast<std::uint64_t>(got);
    return got;
}

}  // namespace varn
