#pragma once

#include <sys/stat.h>

#include <ctime>

#include "io/open_file.h"

namespace varn::io {

// What a pass read: the file, its size and the times of its last change. A write, a cut or an
// append moves the modification time; the change time catches also a rewrite whose modification
// time was put back afterwards (touch -r, rsync -t), since no call can set it. Times are as fine
// as the file system keeps them: a change within the same tick as the version was taken, with the
// same size, cannot be told apart.
struct FileVersion {
    FileId id;
    off_t size = 0;
    timespec modified{};
    timespec changed{};
    bool operator==(const FileVersion& other) const;
};

FileVersion VersionOf(const struct stat& info);

}  // namespace varn::io
