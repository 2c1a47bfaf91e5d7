#include "io/file_version.h"

namespace varn::io {

namespace {

bool SameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

}  // namespace

bool FileVersion::operator==(const FileVersion& other) const {
    return id == other.id && size == other.size && SameTime(modified, other.modified) &&
           SameTime(changed, other.changed);
}

FileVersion VersionOf(const struct stat& info) {
    return {IdOf(info), info.st_size, info.st_mtim, info.st_ctim};
}

}  // namespace varn::io
