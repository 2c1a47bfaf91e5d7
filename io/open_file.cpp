#include "io/open_file.h"

#include <fcntl.h>

#include <cerrno>

namespace varn::io {

namespace {

// errno for a name that is not a plain file.
int NotRegularError(mode_t mode) {
    return S_ISDIR(mode) ? EISDIR : ENXIO;
}

}  // namespace

Fd OpenRegular(const std::string& path, int flags, struct stat& info, Failure& failure) {
    struct stat named {};
    if (::stat(path.c_str(), &named) != 0) {
        failure = FailureNow(FailureKind::Open, path);
        return Fd();
    }
    if (!S_ISREG(named.st_mode)) {
        failure = {FailureKind::NotRegular, path, NotRegularError(named.st_mode)};
        return Fd();
    }
    // Non-blocking in case the name was swapped for a FIFO since the check above.
    Fd fd(::open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd.ok()) {
        failure = FailureNow(FailureKind::Open, path);
        return Fd();
    }
    if (::fstat(fd.get(), &info) != 0) {
        failure = FailureNow(FailureKind::Open, path);
        return Fd();
    }
    if (!S_ISREG(info.st_mode) || IdOf(info) != IdOf(named)) {
        failure = {FailureKind::NotRegular, path, NotRegularError(info.st_mode)};
        return Fd();
    }
    const int status = ::fcntl(fd.get(), F_GETFL);
    if (status < 0 || ::fcntl(fd.get(), F_SETFL, status & ~O_NONBLOCK) != 0) {
        failure = FailureNow(FailureKind::Open, path);
        return Fd();
    }
    return fd;
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa {};
    struct stat sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && IdOf(sa) == IdOf(sb);
}

bool NameHolds(const std::string& name, int fd) {
    struct stat named {};
    struct stat open {};
    return ::stat(name.c_str(), &named) == 0 && ::fstat(fd, &open) == 0 &&
           IdOf(named) == IdOf(open);
}

}  // namespace varn::io
