#include "ui/file_layer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace ui {

namespace {

class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

  private:
    int fd_;
};

Fd OpenForReading(const std::string& path, struct stat& info) {
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || S_ISDIR(info.st_mode)) {
        throw FileError("Cannot open file " + path);
    }
    return Fd(fd.release());
}

}  // namespace

std::uint64_t OpenAndTakeSize(const std::string& path) {
    struct stat info {};
    Fd fd = OpenForReading(path, info);
    return static_cast<std::uint64_t>(info.st_size);
}

std::string ReadWholeFile(const std::string& path) {
    struct stat info {};
    Fd fd = OpenForReading(path, info);
    std::string bytes;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            throw FileError("Stream read error");
        }
        if (got == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return bytes;
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    Fd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (fd.get() < 0) throw FileError("Cannot create file " + path);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
        if (put < 0) {
            if (errno == EINTR) continue;
            throw FileError("Stream write error");
        }
        done += static_cast<std::size_t>(put);
    }
    if (::close(fd.release()) != 0) throw FileError("Stream write error");
}

}  // namespace ui
