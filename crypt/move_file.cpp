#include "crypt/move_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace varn {

namespace {

constexpr std::size_t kCopyBuffer = 1 << 20;

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Copies into a freshly created `to` (never an existing one), then removes `from`.
bool CopyThenRemove(const std::string& from, const std::string& to) {
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    struct stat st {};
    const bool statOk = ::fstat(in, &st) == 0;
    if (!statOk || !S_ISREG(st.st_mode)) {
        const int err = statOk ? EINVAL : errno;
        ::close(in);
        errno = err;
        return false;
    }
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 07777);
    if (out < 0) {
        const int err = errno;
        ::close(in);
        errno = err;
        return false;
    }
    std::vector<char> buffer(kCopyBuffer);
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        if (!WriteAll(out, buffer.data(), static_cast<std::size_t>(n))) {
            ok = false;
            break;
        }
    }
    // The source goes away next, so the copy must be on the medium first.
    ok = ok && ::fsync(out) == 0;
    int err = errno;
    if (::close(out) != 0 && ok) {
        ok = false;
        err = errno;
    }
    ::close(in);
    if (ok && ::unlink(from.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(to.c_str());
        errno = err;
    }
    return ok;
}

}  // namespace

bool MoveFileNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    int err = errno;
    if (err == EINVAL || err == ENOSYS || err == ENOTSUP) {
        // The file system cannot rename without replacing: a hard link refuses an existing target.
        if (::link(from.c_str(), to.c_str()) == 0) {
            if (::unlink(from.c_str()) == 0) return true;
            err = errno;
            ::unlink(to.c_str());
            errno = err;
            return false;
        }
        err = errno;
        if (err != EXDEV && err != EPERM && err != ENOTSUP) {
            errno = err;
            return false;
        }
    } else if (err != EXDEV) {
        errno = err;
        return false;
    }
    return CopyThenRemove(from, to);
}

}  // namespace varn
