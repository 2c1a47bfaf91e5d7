#include "io/temporary_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "io/stale_temporaries.h"

namespace varn::io {

namespace {

// Names are tried until one is free; collisions are rare, so a few tries are plenty.
constexpr int kNameTries = 64;

constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr std::size_t kSuffixLength = 8;

std::string RandomSuffix() {
    unsigned char bytes[kSuffixLength] = {};
    if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
        // Without the kernel's random source, the clock and a counter still make names that
        // O_EXCL keeps unique.
        static unsigned counter = 0;
        const auto seed = static_cast<unsigned long>(::time(nullptr)) ^ (++counter * 2654435761u) ^
                          static_cast<unsigned long>(::getpid());
        for (unsigned i = 0; i < sizeof bytes; ++i)
            bytes[i] = static_cast<unsigned char>(seed >> (i * 4));
    }
    std::string suffix;
    for (unsigned char b : bytes) suffix += kLetters[b % (sizeof kLetters - 1)];
    return suffix;
}

}  // namespace

bool IsTemporaryName(std::string_view name, std::string_view prefix) {
    if (name.size() != prefix.size() + 1 + kSuffixLength || !name.starts_with(prefix) ||
        name[prefix.size()] != '.') {
        return false;
    }
    const std::string_view letters(kLetters, sizeof kLetters - 1);
    for (char c : name.substr(prefix.size() + 1)) {
        if (letters.find(c) == std::string_view::npos) return false;
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool TemporaryFile::Create(const std::string& folder, std::string_view prefix, Failure& failure) {
    Remove();
    const std::string where = folder.empty() ? std::string(".") : folder;
    RemoveStaleTemporaries(where, prefix);
    const std::string stem = where + "/" + std::string(prefix) + ".";
    for (int attempt = 0; attempt < kNameTries; ++attempt) {
        const std::string name = stem + RandomSuffix();
        const int fd = ::open(name.c_str(),
                              O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            failure = FailureNow(FailureKind::Create, name);
            return false;
        }
        fd_.Reset(fd);
        struct stat info {};
        // Until the lock is taken the file looks like one left behind; RemoveStaleTemporaries
        // leaves files that young alone.
        if (::flock(fd, LOCK_EX) != 0 || ::fstat(fd, &info) != 0) {
            failure = FailureNow(FailureKind::Create, name);
            ::unlink(name.c_str());
            fd_.Close();
            return false;
        }
        path_ = name;
        device_ = info.st_dev;
        inode_ = info.st_ino;
        return true;
    }
    failure = {FailureKind::Create, stem, EEXIST};
    return false;
}

void TemporaryFile::Remove() {
    const int err = errno;
    if (!path_.empty()) {
        struct stat named {};
        if (::lstat(path_.c_str(), &named) == 0 && named.st_dev == device_ &&
            named.st_ino == inode_) {
            ::unlink(path_.c_str());
        }
        path_.clear();
    }
    fd_.Close();
    errno = err;
}

Fd AnonymousFile(const std::string& folder, Failure& failure) {
    // O_EXCL: the file can never be given a name later.
    Fd fd(::open(folder.c_str(), O_TMPFILE | O_RDWR | O_EXCL | O_CLOEXEC, 0600));
    if (!fd.ok()) failure = FailureNow(FailureKind::Create, folder);
    return fd;
}

}  // namespace varn::io
