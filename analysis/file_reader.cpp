#include "analysis/file_reader.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace varn {

InputFile::InputFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return;
    }
    fd_ = fd;
    regular_ = S_ISREG(st.st_mode);
    size_ = regular_ ? static_cast<std::uint64_t>(st.st_size) : 0;
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
}

InputFile::~InputFile() {
    if (fd_ >= 0) ::close(fd_);
}

namespace {

// Retries short reads until `want` bytes or the end; `readSome(done)` reads on after `done`.
template <typename ReadSome>
std::int64_t ReadFully(std::size_t want, ReadSome readSome) {
    std::size_t got = 0;
    while (got < want) {
        const ssize_t n = readSome(got);
        if (n < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    return static_cast<std::int64_t>(got);
}

bool FileHolds(int fd, std::uint64_t end) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 && static_cast<std::uint64_t>(st.st_size) >= end;
}

}  // namespace

std::int64_t InputFile::ReadAt(std::uint64_t offset, unsigned char* buffer,
                               std::size_t want) const {
    return ReadFully(want, [&](std::size_t done) {
        return ::pread(fd_, buffer + done, want - done, static_cast<off_t>(offset + done));
    });
}

std::int64_t InputFile::Read(unsigned char* buffer, std::size_t want) const {
    return ReadFully(want,
                     [&](std::size_t done) { return ::read(fd_, buffer + done, want - done); });
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

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa {};
    struct stat sb {};
    if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace varn
