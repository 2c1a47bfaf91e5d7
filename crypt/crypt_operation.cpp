#include "crypt/crypt_operation.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "crypt/fd_io.h"

namespace varn {

namespace {

bool SameFile(int fd, const char* name) {
    struct stat a {};
    struct stat b {};
    return ::fstat(fd, &a) == 0 && ::stat(name, &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

// Opened for update, as a pass needs; a file without any write permission bit counts as
// read-only and is refused even where the process could write it anyway.
int OpenNamedFile(const std::string& name) {
    const int fd = ::open(name.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0 ||
        SameFile(fd, kCryptTempName) || SameFile(fd, kCrypt3XTempName)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

CryptMessage MessageFor(IdeaStreamStatus status) {
    switch (status) {
        case IdeaStreamStatus::TooLarge:
            return CryptMessage::TooLarge;
        case IdeaStreamStatus::NotEncrypted:
            return CryptMessage::NotEncrypted;
        default:
            return CryptMessage::WriteFailed;
    }
}

void RemoveTemporaries() {
    ::unlink(kCryptTempName);
    ::unlink(kCrypt3XTempName);
}

}  // namespace

CryptOutcome RunCryptOperation(const CryptRequest& request, const CryptReport& report) {
    fdio::Fd input(OpenNamedFile(request.fileName));
    if (!input.ok()) return CryptOutcome::OpenFailed;
    const std::size_t passes = request.passwords.size();

    auto fail = [&](CryptOutcome outcome) {
        RemoveTemporaries();
        return outcome;
    };

    for (std::size_t pass = 0; pass < passes; ++pass) {
        if (pass > 0) {
            input.Reset(::open(kCrypt3XTempName, O_RDONLY | O_CLOEXEC));
            if (!input.ok()) return fail(CryptOutcome::TempFailed);
        }
        const IdeaStreamStatus check = request.decrypt ? IdeaCheckEncryptedSource(input.get())
                                                       : IdeaCheckPlainSource(input.get());
        if (check != IdeaStreamStatus::Ok) {
            report(MessageFor(check));
            return fail(CryptOutcome::ModuleFailed);
        }

        fdio::Fd output(
            ::open(kCryptTempName, O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0666));
        if (!output.ok()) return fail(CryptOutcome::TempFailed);

        const IdeaKey key = IdeaKeyFromPassword(request.passwords[pass]);
        IdeaStreamStatus status =
            request.decrypt ? IdeaDecryptStream(input.get(), output.get(), key, request.options)
                            : IdeaEncryptStream(input.get(), output.get(), key, request.options);
        if (!output.Close() && status == IdeaStreamStatus::Ok) {
            status = IdeaStreamStatus::WriteFailed;
        }
        input.Close();
        if (status != IdeaStreamStatus::Ok) {
            report(MessageFor(status));
            return fail(CryptOutcome::ModuleFailed);
        }
        // The next pass reads this result; the last one is left for the finish step.
        if (pass + 1 < passes && std::rename(kCryptTempName, kCrypt3XTempName) != 0) {
            return fail(CryptOutcome::TempFailed);
        }
    }
    ::unlink(kCrypt3XTempName);
    if (passes == 0) return CryptOutcome::Done;

    return CryptFinishFile(request.fileName, request.overwrite, report)
               ? CryptOutcome::Done
               : CryptOutcome::ModuleFailed;
}

bool Valid3XPassword(std::string_view, std::string_view, std::string_view) {
    return true;
}

}  // namespace varn
