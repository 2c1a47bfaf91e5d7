#include "crypt/move_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "crypt/fd_io.h"

namespace varn {

namespace {

constexpr std::size_t kCopyBuffer = 1 << 20;

// Copies into a freshly created `to` (never an existing one), then removes `from`.
bool CopyThenRemove(const std::string& from, const std::string& to) {
    fdio::Fd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (!in.ok()) return false;
    struct stat st {};
    if (::fstat(in.get(), &st) != 0) return false;
    if (!S_ISREG(st.st_mode)) {
        errno = EINVAL;
        return false;
    }
    fdio::Fd out(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 07777));
    if (!out.ok()) return false;
    std::vector<unsigned char> buffer(kCopyBuffer);
    bool ok = true;
    for (std::int64_t at = 0;;) {
        const ssize_t n = ::read(in.get(), buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        if (!fdio::WriteAllAt(out.get(), buffer.data(), static_cast<std::size_t>(n), at)) {
            ok = false;
            break;
        }
        at += n;
    }
    // The source goes away next, so the copy must be on the medium first.
    ok = ok && ::fsync(out.get()) == 0;
    int err = errno;
    if (!out.Close() && ok) {
        ok = false;
        err = errno;
    }
    in.Close();
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
