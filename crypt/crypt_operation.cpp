#include "crypt/crypt_operation.h"

#include <fcntl.h>
#include <sys/stat.h>

#include "io/file_version.h"
#include "io/open_file.h"
#include "io/replacement.h"
#include "io/temporary_file.h"

namespace varn {

namespace {

// Checks made before a pass writes anything.
CryptResult CheckSource(int source, bool decrypt, const IdeaKey& key) {
    if (!decrypt) return IdeaCheckPlainSource(source);
    const CryptResult format = IdeaCheckEncryptedSource(source);
    return format.ok() ? IdeaCheckPadding(source, key) : format;
}

// A pass's result with the name of the file its failure concerns.
CryptResult Named(CryptResult result, const std::string& source, const std::string& target) {
    if (result.failure) {
        result.failure.path = result.failure.kind == io::FailureKind::Write ? target : source;
    }
    return result;
}

// Every layer of an encryption must fit the length field: 3X refuses up front a file whose later
// layers would reach the limit, before a pass has been spent on it.
bool LayersFit(std::int64_t size, std::size_t passes) {
    for (std::size_t pass = 0; pass < passes; ++pass) {
        if (size >= kIdeaSizeLimit) return false;
        size = IdeaEncryptedSize(size);
    }
    return true;
}

// Whether the old file has no name left after the rename: another hard link is a copy of the
// user's, and its data stays.
bool NoNameLeft(int fd) {
    struct stat info {};
    return ::fstat(fd, &info) != 0 || info.st_nlink == 0;
}

CryptResult FailedWith(const io::Failure& failure) {
    return {CryptRefusal::None, failure, {}};
}

}  // namespace

CryptResult RunCryptPasses(const CryptFile& from, const CryptFile& to, const std::string& folder,
                           const std::vector<std::string>& passwords, bool decrypt,
                           const IdeaStreamOptions& options) {
    // The middle passes of 3X write to temporaries of their own in the folder.
    io::Failure failure;
    io::TemporaryFile between[2];
    int source = from.fd;
    std::string sourceName = from.name;
    const std::size_t passes = passwords.size();
    if (!decrypt) {
        struct stat info {};
        if (::fstat(from.fd, &info) != 0)
            return FailedWith(io::FailureNow(io::FailureKind::Read, from.name));
        if (!LayersFit(info.st_size, passes)) return {CryptRefusal::TooLarge, {}, {}};
    }
    for (std::size_t pass = 0; pass < passes; ++pass) {
        const IdeaKey key = IdeaKeyFromPassword(passwords[pass]);
        if (const CryptResult check = CheckSource(source, decrypt, key); !check.ok()) {
            return Named(check, sourceName, {});
        }
        const bool last = pass + 1 == passes;
        io::TemporaryFile& middle = between[pass % 2];
        if (!last && !middle.Create(folder, kCryptTempPrefix, failure)) return FailedWith(failure);
        const int output = last ? to.fd : middle.fd();
        const std::string& outputName = last ? to.name : middle.path();
        const CryptResult passed = decrypt ? IdeaDecryptStream(source, output, key, options)
                                           : IdeaEncryptStream(source, output, key, options);
        if (!passed.ok()) return Named(passed, sourceName, outputName);
        source = output;
        sourceName = outputName;
    }
    return {};
}

CryptResult RunCryptOperation(const CryptRequest& request) {
    const std::string& name = request.fileName;
    io::Failure failure;
    struct stat info {};
    // Opened for update, as the wipe needs; a file without any write permission bit counts as
    // read-only and is refused even where the process could write it anyway.
    io::Fd input = io::OpenRegular(name, O_RDWR, info, failure);
    if (!input.ok()) return FailedWith(failure);
    if ((info.st_mode & 0222) == 0) return FailedWith({io::FailureKind::Open, name, EACCES});
    if (request.passwords.empty()) return {};

    // The result never has wider permissions than its source.
    io::Target target;
    target.mode = info.st_mode & 07777;
    if (request.overwrite) {
        target.path = name;
        target.expected = io::VersionOf(info);
    } else {
        // A result name that exists is left alone, a link there included.
        target.path = CryptEncName(name);
        target.followLink = false;
        target.mayReplace = false;
        target.source = {input.get(), name, io::VersionOf(info)};
    }
    io::Replacement result;
    if (!result.Begin(target, kCryptTempPrefix, failure)) return FailedWith(failure);

    const CryptResult passed = RunCryptPasses(
        {input.get(), name}, {result.fd(), result.temporaryPath()}, io::FolderOf(result.path()),
        request.passwords, request.decrypt, request.options);
    if (!passed.ok()) return passed;
    if (!result.Commit(failure)) return FailedWith(failure);
    // The old file is gone from its name; its data goes too, now that the result stands in its
    // place, unless another name still holds it. A failure here leaves the result in place and is
    // told.
    CryptResult done;
    if (request.overwrite && NoNameLeft(input.get()) && !OverwriteWithZeros(input.get())) {
        done.wipe = io::FailureNow(io::FailureKind::Write, name);
    }
    return done;
}

}  // namespace varn
