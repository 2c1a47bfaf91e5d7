#include "crypt/crypt_operation.h"

#include <fcntl.h>
#include <sys/stat.h>

#include "io/file_version.h"
#include "io/open_file.h"
#include "io/replacement.h"
#include "io/temporary_file.h"

namespace varn {

namespace {

CryptMessage MessageFor(IdeaStreamStatus status) {
    switch (status) {
        case IdeaStreamStatus::TooLarge:
            return CryptMessage::TooLarge;
        case IdeaStreamStatus::NotEncrypted:
            return CryptMessage::NotEncrypted;
        case IdeaStreamStatus::WrongPadding:
            return CryptMessage::WrongPassword;
        case IdeaStreamStatus::ReadFailed:
            return CryptMessage::ReadFailed;
        default:
            return CryptMessage::WriteFailed;
    }
}

// What failed underneath a pass's status.
io::Failure DetailOf(IdeaStreamStatus status, int error, const std::string& source,
                     const std::string& target) {
    switch (status) {
        case IdeaStreamStatus::ReadFailed:
            return {io::FailureKind::Read, source, error};
        case IdeaStreamStatus::WriteFailed:
            return {io::FailureKind::Write, target, error};
        default:
            return {};
    }
}

// Checks made before a pass writes anything.
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

IdeaStreamStatus CheckSource(int source, bool decrypt, const IdeaKey& key) {
    if (!decrypt) return IdeaCheckPlainSource(source);
    const IdeaStreamStatus format = IdeaCheckEncryptedSource(source);
    return format != IdeaStreamStatus::Ok ? format : IdeaCheckPadding(source, key);
}

}  // namespace

CryptOutcome RunCryptOperation(const CryptRequest& request, const CryptReport& report) {
    const std::string& name = request.fileName;
    io::Failure failure;
    struct stat info {};
    // Opened for update, as the wipe needs; a file without any write permission bit counts as
    // read-only and is refused even where the process could write it anyway.
    io::Fd input = io::OpenRegular(name, O_RDWR, info, failure);
    if (!input.ok() || (info.st_mode & 0222) == 0) return CryptOutcome::OpenFailed;
    const std::size_t passes = request.passwords.size();
    if (passes == 0) return CryptOutcome::Done;
    if (!request.decrypt && !LayersFit(info.st_size, passes)) {
        report(CryptMessage::TooLarge, {});
        return CryptOutcome::ModuleFailed;
    }

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
    }
    io::Replacement result;
    if (!result.Begin(target, kCryptTempPrefix, failure)) {
        if (failure.kind == io::FailureKind::Replace) {
            report(CryptMessage::RenameFailed, failure);
            return CryptOutcome::ModuleFailed;
        }
        if (failure.kind == io::FailureKind::NameTooLong) {
            report(CryptMessage::NameTooLong, failure);
            return CryptOutcome::ModuleFailed;
        }
        return CryptOutcome::TempFailed;
    }

    // The middle passes of 3X write to temporaries of their own beside the result.
    io::TemporaryFile between[2];
    int source = input.get();
    std::string sourceName = name;
    for (std::size_t pass = 0; pass < passes; ++pass) {
        const IdeaKey key = IdeaKeyFromPassword(request.passwords[pass]);
        const IdeaStreamStatus check = CheckSource(source, request.decrypt, key);
        if (check != IdeaStreamStatus::Ok) {
            report(MessageFor(check), DetailOf(check, errno, sourceName, {}));
            return CryptOutcome::ModuleFailed;
        }
        const bool last = pass + 1 == passes;
        io::TemporaryFile& middle = between[pass % 2];
        if (!last && !middle.Create(io::FolderOf(result.path()), kCryptTempPrefix, failure)) {
            return CryptOutcome::TempFailed;
        }
        const int output = last ? result.fd() : middle.fd();
        const std::string& outputName = last ? result.temporaryPath() : middle.path();
        const IdeaStreamStatus status =
            request.decrypt ? IdeaDecryptStream(source, output, key, request.options)
                            : IdeaEncryptStream(source, output, key, request.options);
        if (status != IdeaStreamStatus::Ok) {
            report(MessageFor(status), DetailOf(status, errno, sourceName, outputName));
            return CryptOutcome::ModuleFailed;
        }
        source = output;
        sourceName = outputName;
    }

    if (!result.Commit(failure)) {
        report(failure.kind == io::FailureKind::Write     ? CryptMessage::WriteFailed
               : failure.kind == io::FailureKind::Changed ? CryptMessage::FileChanged
                                                          : CryptMessage::RenameFailed,
               failure);
        return CryptOutcome::ModuleFailed;
    }
    // The old file is gone from its name; its data goes too, now that the result stands in its
    // place, unless another name still holds it. A failure here leaves the result in place and
    // is reported.
    if (request.overwrite && NoNameLeft(input.get()) && !OverwriteWithZeros(input.get())) {
        report(CryptMessage::OverwriteFailed, io::FailureNow(io::FailureKind::Write, name));
    }
    return CryptOutcome::Done;
}

bool Valid3XPassword(std::string_view, std::string_view, std::string_view) {
    return true;
}

}  // namespace varn
