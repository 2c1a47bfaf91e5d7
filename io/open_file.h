#pragma once

#include <sys/stat.h>

#include <string>

#include "io/failure.h"
#include "io/fd.h"

namespace varn::io {

// A file's identity: two names or descriptors are the same file when these agree.
struct FileId {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileId&) const = default;
};

inline FileId IdOf(const struct stat& info) {
    return {info.st_dev, info.st_ino};
}

// Opens an existing regular file with `flags` (O_RDONLY or O_RDWR; close-on-exec is added). A
// folder, FIFO, device or socket is refused from its name before any open, so nothing blocks and
// no device is touched; the descriptor is then checked to be that same regular file. `info`
// receives its status. On failure the descriptor is closed and `failure` says why (Open or
// NotRegular).
Fd OpenRegular(const std::string& path, int flags, struct stat& info, Failure& failure);

// True when both names exist and are the same file.
bool SameFile(const std::string& a, const std::string& b);

// True when the name exists and is the file open on `fd`.
bool NameHolds(const std::string& name, int fd);

}  // namespace varn::io
