#include "crypt/crypt_finish.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "crypt/fd_io.h"
#include "crypt/move_file.h"

namespace varn {

namespace {

constexpr std::size_t kZeroBuffer = 1 << 20;

std::size_t OwnNameStart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

std::string FolderOf(const std::string& path) {
    const std::size_t start = OwnNameStart(path);
    if (start == 0) return ".";
    if (start == 1) return "/";
    return path.substr(0, start - 1);
}

// Replaces the old content with as many "0" characters as it has bytes, on the medium.
bool OverwriteWithZeros(const std::string& name) {
    fdio::Fd fd(::open(name.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
    if (!fd.ok()) return false;
    struct stat st {};
    bool ok = ::fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode);
    const std::vector<unsigned char> zeros(kZeroBuffer, '0');
    for (off_t offset = 0; ok && offset < st.st_size; offset += static_cast<off_t>(zeros.size())) {
        const auto n = static_cast<std::size_t>(
            std::min<off_t>(st.st_size - offset, static_cast<off_t>(zeros.size())));
        ok = fdio::WriteAllAt(fd.get(), zeros.data(), n, offset);
    }
    ok = ok && ::fdatasync(fd.get()) == 0;
    return fd.Close() && ok;
}

bool SameFileSystem(const std::string& a, const std::string& b) {
    struct stat sa {};
    struct stat sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev;
}

}  // namespace

std::string CryptEncName(const std::string& sourceName) {
    const std::size_t start = OwnNameStart(sourceName);
    const std::size_t stemStart = sourceName.find_first_not_of('.', start);
    if (stemStart == std::string::npos) return sourceName + ".enc";
    const std::size_t dot = sourceName.find('.', stemStart);
    const std::size_t stemEnd = dot == std::string::npos ? sourceName.size() : dot;
    return sourceName.substr(0, start) + sourceName.substr(stemStart, stemEnd - stemStart) + ".enc";
}

bool CryptFinishFile(const std::string& sourceName, bool overwrite, const CryptReport& report) {
    const std::string temp = kCryptTempName;
    if (!overwrite) {
        if (MoveFileNoReplace(temp, CryptEncName(sourceName))) return true;
        report(CryptMessage::RenameFailed);
        return false;
    }

    // On another file system the result is first copied next to the old file, so that the old
    // file is destroyed only once its replacement is safely on the same volume.
    std::string ready = temp;
    if (!SameFileSystem(temp, FolderOf(sourceName))) {
        const std::size_t start = OwnNameStart(sourceName);
        const std::string staged =
            sourceName.substr(0, start) + "." + sourceName.substr(start) + "." + temp;
        if (!MoveFileNoReplace(temp, staged)) {
            report(CryptMessage::RenameFailed);
            return false;
        }
        ready = staged;
    }
    auto giveBack = [&] {
        if (ready != temp) MoveFileNoReplace(ready, temp);
    };

    if (!OverwriteWithZeros(sourceName)) report(CryptMessage::OverwriteFailed);
    if (::unlink(sourceName.c_str()) != 0) {
        report(CryptMessage::RemoveFailed);
        giveBack();
        return false;
    }
    if (!MoveFileNoReplace(ready, sourceName)) {
        report(CryptMessage::RenameFailed);
        giveBack();
        return false;
    }
    return true;
}

}  // namespace varn
