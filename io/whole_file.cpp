#include "io/whole_file.h"

#include <fcntl.h>

#include "io/open_file.h"
#include "io/replacement.h"
#include "io/transfer.h"

namespace varn::io {

namespace {

// Temporaries of a save lie beside the file saved.
constexpr const char* kSavePrefix = ".varn-save";

Fd OpenOrThrow(const std::string& path, struct stat& info) {
    Failure failure;
    Fd fd = OpenRegular(path, O_RDONLY, info, failure);
    if (!fd.ok()) throw FileError(failure);
    return fd;
}

}  // namespace

std::uint64_t TakeSize(const std::string& path) {
    struct stat info {};
    const Fd fd = OpenOrThrow(path, info);
    return static_cast<std::uint64_t>(info.st_size);
}

std::string ReadWholeFile(const std::string& path) {
    struct stat info {};
    const Fd fd = OpenOrThrow(path, info);
    return ReadWholeDescriptor(fd.get(), path);
}

std::string ReadWholeDescriptor(int fd, const std::string& path) {
    std::string bytes;
    unsigned char buffer[1 << 16];
    for (std::uint64_t offset = 0;;) {
        const std::int64_t got = ReadUpToAt(fd, buffer, sizeof buffer, offset);
        if (got < 0) throw FileError(ReadFailureNow(path));
        bytes.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(got));
        offset += static_cast<std::uint64_t>(got);
        if (static_cast<std::size_t>(got) < sizeof buffer) return bytes;
    }
}

void ReplaceWholeFile(const std::string& path, std::string_view bytes) {
    Failure failure;
    Replacement result;
    if (!result.Begin({path}, kSavePrefix, failure)) throw FileError(failure);
    if (!WriteAll(result.fd(), bytes.data(), bytes.size())) {
        throw FileError(FailureNow(FailureKind::Write, path));
    }
    if (!result.Commit(failure)) throw FileError(failure);
}

}  // namespace varn::io
