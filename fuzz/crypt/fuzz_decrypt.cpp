// Decrypts arbitrary bytes as an encrypted file. The first byte picks the vector path, the thread
// count, write-behind and the password length; the password follows; the rest is the file. Each
// input is tried as it is, with its length field made to fit its size, and as the plaintext of a
// file encrypted under the password, so that inputs reach the whole pass. Checks: the format and
// padding checks agree with the pass; a refused pass writes nothing; a pass writes exactly the
// stored length; every path gives the same plaintext; enciphering it again reproduces every block
// but the last; a file encrypted here decrypts to its plaintext. The fuzz build of the library
// has chunks of a few dozen bytes, so short inputs span many chunks and both threads.

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>

#include "crypt/idea_stream.h"

namespace {

using varn::CryptRefusal;
using varn::IdeaPath;
using varn::IdeaStreamOptions;

// What a pass ended in: a refusal or the kind of failure, both None when it succeeded.
using Status = std::pair<CryptRefusal, varn::io::FailureKind>;
Status Of(const varn::CryptResult& result) {
    return {result.refusal, result.failure.kind};
}
const Status kOk{CryptRefusal::None, varn::io::FailureKind::None};
const Status kWrongPassword{CryptRefusal::WrongPassword, varn::io::FailureKind::None};
const Status kNotEncrypted{CryptRefusal::NotEncrypted, varn::io::FailureKind::None};

class MemFile {
  public:
    explicit MemFile(const std::string& content = {}) : fd_(::memfd_create("fuzz", MFD_CLOEXEC)) {
        if (fd_ < 0) std::abort();
        if (::pwrite(fd_, content.data(), content.size(), 0) !=
            static_cast<ssize_t>(content.size())) {
            std::abort();
        }
    }
    ~MemFile() { ::close(fd_); }
    int fd() const { return fd_; }
    std::string Content() const {
        struct stat st {};
        if (::fstat(fd_, &st) != 0) std::abort();
        std::string s(static_cast<std::size_t>(st.st_size), '\0');
        if (::pread(fd_, s.data(), s.size(), 0) != static_cast<ssize_t>(s.size())) std::abort();
        return s;
    }

  private:
    int fd_;
};

void Check(bool condition) {
    if (!condition) std::abort();
}

void TryFile(const std::string& file, const std::string& password,
             const IdeaStreamOptions& options) {
    const varn::IdeaKey key = varn::IdeaKeyFromPassword(password);
    MemFile in(file), out;
    const Status format = Of(varn::IdeaCheckEncryptedSource(in.fd()));
    const Status padding = Of(varn::IdeaCheckPadding(in.fd(), key));
    const Status status = Of(varn::IdeaDecryptStream(in.fd(), out.fd(), key, options));
    Check(status == padding);
    Check(format == kOk ? padding == kOk || padding == kWrongPassword : padding == format);
    if (status != kOk) {
        Check((status == kNotEncrypted || status == kWrongPassword) && out.Content().empty());
        return;
    }
    const std::string plain = out.Content();
    const auto length = static_cast<std::uint32_t>(
        static_cast<unsigned char>(file[0]) | static_cast<unsigned char>(file[1]) << 8 |
        static_cast<unsigned char>(file[2]) << 16 | static_cast<unsigned char>(file[3]) << 24);
    Check(plain.size() == length);

    MemFile reference;
    Check(varn::IdeaDecryptStream(in.fd(), reference.fd(), key, {IdeaPath::Scalar, 1}).ok());
    Check(reference.Content() == plain);

    MemFile again(plain), encrypted;
    Check(varn::IdeaEncryptStream(again.fd(), encrypted.fd(), key, options).ok());
    const std::string back = encrypted.Content();
    Check(back.size() == file.size());
    Check(back.compare(0, back.size() - 8, file, 0, file.size() - 8) == 0);
}

// A file encrypted under the password always passes the padding check and comes back whole.
void RoundTrip(const std::string& file, const std::string& password,
               const IdeaStreamOptions& options) {
    MemFile plain(file), encrypted, back;
    const varn::IdeaKey key = varn::IdeaKeyFromPassword(password);
    Check(varn::IdeaEncryptStream(plain.fd(), encrypted.fd(), key, options).ok());
    Check(varn::IdeaDecryptStream(encrypted.fd(), back.fd(), key, options).ok());
    Check(back.Content() == file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const IdeaPath paths[] = {IdeaPath::Scalar, IdeaPath::Sse2, IdeaPath::Avx2, IdeaPath::Avx512};
    IdeaStreamOptions options{paths[data[0] & 3], (data[0] & 4) ? 2u : 1u};
    if (!varn::IdeaPathAvailable(options.path)) options.path = IdeaPath::Scalar;
    const std::size_t passwordLength = std::min<std::size_t>((data[0] >> 3) & 15, size - 1);
    const std::string password(reinterpret_cast<const char*>(data + 1), passwordLength);
    std::string file(reinterpret_cast<const char*>(data + 1 + passwordLength),
                     size - 1 - passwordLength);

    TryFile(file, password, options);

    RoundTrip(file, password, options);

    // The same blocks under a length field that fits them.
    if (file.size() >= 12 && (file.size() - 4) % 8 == 0) {
        const std::uint32_t blocks = static_cast<std::uint32_t>((file.size() - 4) / 8);
        const std::uint32_t length = 8 * (blocks - 1) + (static_cast<unsigned char>(file[0]) & 7);
        for (int i = 0; i < 4; ++i) file[i] = static_cast<char>(length >> (8 * i));
        TryFile(file, password, options);

        RoundTrip(file, password, options);
    }
    return 0;
}
