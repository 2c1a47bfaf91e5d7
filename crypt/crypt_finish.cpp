#include "crypt/crypt_finish.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "io/transfer.h"

namespace varn {

namespace {

constexpr std::size_t kZeroBuffer = 1 << 20;

std::size_t OwnNameStart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
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

bool OverwriteWithZeros(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return false;
    const std::vector<unsigned char> zeros(kZeroBuffer, '0');
    for (off_t offset = 0; offset < st.st_size; offset += static_cast<off_t>(zeros.size())) {
        const auto n = static_cast<std::size_t>(
            std::min<off_t>(st.st_size - offset, static_cast<off_t>(zeros.size())));
        if (!io::WriteAllAt(fd, zeros.data(), n, static_cast<std::uint64_t>(offset))) return false;
    }
    return ::fdatasync(fd) == 0;
}

}  // namespace varn
