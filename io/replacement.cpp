#include "io/replacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "io/cancellation.h"

namespace varn::io {

namespace {

// The file a link points to, as an absolute name; empty when it points nowhere.
std::string ResolvedName(const std::string& path) {
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                         &std::free);
    return resolved ? std::string(resolved.get()) : std::string();
}

// Renames without ever replacing an existing `to`; where the file system cannot, a hard link
// refuses an existing name in the same way.
bool RenameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return false;
    if (::link(from.c_str(), to.c_str()) != 0) return false;
    ::unlink(from.c_str());
    return true;
}

std::function<void()>& BeforeCommitCheck() {
    static std::function<void()> hook;
    return hook;
}

// The rename is on the medium only once its folder is.
void FlushFolder(const std::string& path) {
    Fd folder(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.ok()) ::fsync(folder.get());
}

}  // namespace

void SetBeforeCommitCheck(std::function<void()> hook) {
    BeforeCommitCheck() = std::move(hook);
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return 0666 & ~mask;
}

bool Replacement::Begin(const Target& target, std::string_view prefix, Failure& failure) {
    target_ = target;
    path_ = target.path;
    existed_ = false;
    struct stat named {};
    if (::lstat(path_.c_str(), &named) == 0) {
        if (S_ISLNK(named.st_mode) && target.followLink) {
            path_ = ResolvedName(target.path);
            if (path_.empty() || ::stat(path_.c_str(), &named) != 0) {
                // A link to nowhere: creating through it would follow it.
                failure = FailureNow(FailureKind::NotReplaceable, target.path);
                return false;
            }
        }
        if (!S_ISREG(named.st_mode) && !(S_ISLNK(named.st_mode) && !target.followLink)) {
            failure = {FailureKind::NotReplaceable, target.path,
                       S_ISDIR(named.st_mode) ? EISDIR : ENXIO};
            return false;
        }
        if (!target.mayReplace) {
            failure = {FailureKind::Replace, target.path, EEXIST};
            return false;
        }
        existed_ = S_ISREG(named.st_mode);
        owner_ = named.st_uid;
        group_ = named.st_gid;
    } else if (errno == ENAMETOOLONG) {
        failure = FailureNow(FailureKind::NameTooLong, target.path);
        return false;
    } else if (errno != ENOENT) {
        failure = FailureNow(FailureKind::Create, target.path);
        return false;
    }
    if (target.mode) {
        mode_ = *target.mode & 07777;
    } else {
        mode_ = existed_ ? named.st_mode & 07777 : NewFileMode();
    }
    if (!temporary_.Create(FolderOf(path_), prefix, failure)) {
        failure.path = target.path;
        if (failure.error == ENAMETOOLONG) failure.kind = FailureKind::NameTooLong;
        return false;
    }
    return true;
}

bool Replacement::Commit(Failure& failure) {
    const int fd = temporary_.fd();
    // The owner first: a change of owner may clear the set-id bits that the mode then restores.
    if (existed_ && (owner_ != ::geteuid() || group_ != ::getegid())) {
        [[maybe_unused]] const int ignored = ::fchown(fd, owner_, group_);
    }
    // A second descriptor keeps the temporary's lock through the rename, after the first one
    // is closed (where a delayed write error shows): until it has its new name, no other copy
    // may take it for one left behind.
    const Fd lock(::fcntl(fd, F_DUPFD_CLOEXEC, 0));
    if (!lock.ok() || ::fchmod(fd, mode_) != 0 || ::fsync(fd) != 0 || !temporary_.Close()) {
        failure = FailureNow(FailureKind::Write, target_.path);
        temporary_.Remove();
        return false;
    }
    if (BeforeCommitCheck()) BeforeCommitCheck()();
    if (CancelRequested()) {
        failure = {FailureKind::Cancelled, target_.path, ECANCELED};
        temporary_.Remove();
        return false;
    }
    if (target_.expected) {
        struct stat named {};
        if (::stat(path_.c_str(), &named) != 0) {
            failure = FailureNow(FailureKind::Changed, target_.path);
            temporary_.Remove();
            return false;
        }
        if (VersionOf(named) != *target_.expected) {
            failure = {FailureKind::Changed, target_.path, ESTALE};
            temporary_.Remove();
            return false;
        }
    }
    if (target_.source) {
        struct stat read {};
        if (::fstat(target_.source->fd, &read) != 0 || VersionOf(read) != target_.source->version) {
            failure = {FailureKind::Changed, target_.source->path, ESTALE};
            temporary_.Remove();
            return false;
        }
    }
    const bool renamed = target_.mayReplace
                             ? ::rename(temporary_.path().c_str(), path_.c_str()) == 0
                             : RenameNoReplace(temporary_.path(), path_);
    if (!renamed) {
        failure = FailureNow(FailureKind::Replace, target_.path);
        temporary_.Remove();
        return false;
    }
    temporary_.Keep();
    FlushFolder(path_);
    return true;
}

}  // namespace varn::io
