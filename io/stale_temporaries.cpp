#include "io/stale_temporaries.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "io/fd.h"
#include "io/temporary_file.h"

namespace varn::io {

namespace {

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A running copy creates its temporary (O_EXCL) and locks it a moment later: for that instant a
// fresh temporary in use looks exactly like one left behind. Only files whose last write is well
// in the past are considered, so that instant (microseconds, or as long as the creator is held up
// between the two calls) can never be mistaken for abandonment; a temporary in use that is older
// is locked. A clock set back makes files look younger, which only keeps them longer.
bool OldEnough(const struct stat& info) {
    timespec now{};
    if (::clock_gettime(CLOCK_REALTIME, &now) != 0) return false;
    return now.tv_sec - info.st_mtim.tv_sec >= kStaleTemporaryAgeSeconds;
}

void RemoveIfStale(int folder, const char* name) {
    struct stat named {};
    // Only plain files: a link is never followed, a FIFO or device never opened.
    if (::fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(named.st_mode) ||
        !OldEnough(named)) {
        return;
    }
    const Fd file(
        ::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat open {};
    if (!file.ok() || ::fstat(file.get(), &open) != 0 || !SameFile(open, named) ||
        !S_ISREG(open.st_mode) || !OldEnough(open)) {
        return;
    }
    // Locked: its operation still lives.
    if (::flock(file.get(), LOCK_EX | LOCK_NB) != 0) return;
    // Only while the name still holds the file checked and now locked.
    struct stat still {};
    if (::fstatat(folder, name, &still, AT_SYMLINK_NOFOLLOW) != 0 || !SameFile(still, open)) {
        return;
    }
    ::unlinkat(folder, name, 0);
}

}  // namespace

void RemoveStaleTemporaries(const std::string& folder, std::string_view prefix) {
    const int err = errno;
    DIR* listing = ::opendir(folder.c_str());
    if (listing != nullptr) {
        const int fd = ::dirfd(listing);
        while (const dirent* entry = ::readdir(listing)) {
            if (IsTemporaryName(entry->d_name, prefix)) RemoveIfStale(fd, entry->d_name);
        }
        ::closedir(listing);
    }
    errno = err;
}

}  // namespace varn::io
