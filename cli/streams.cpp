#include "cli/streams.h"

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "cli/console.h"
#include "io/open_file.h"
#include "io/temporary_file.h"
#include "io/transfer.h"

namespace varn::cli {

namespace {

constexpr const char* kOutputTempPrefix = ".varn-out";
constexpr std::size_t kCopyBytes = std::size_t{1} << 20;

std::string DescriptorPath(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

}  // namespace

std::string ScratchFolder() {
    const char* folder = std::getenv("TMPDIR");
    return folder != nullptr && *folder != '\0' ? folder : "/tmp";
}

QString RefusedOutput(const std::string& outName, bool force, const std::string& file,
                      const QString& inputItself) {
    if (outName == "-") return {};
    struct stat info {};
    if (!force && ::lstat(outName.c_str(), &info) == 0)
        return FailureText({io::FailureKind::Replace, outName, EEXIST});
    if (!inputItself.isEmpty() && file != "-" && io::SameFile(outName, file)) return inputItself;
    return {};
}

bool Input::Open(const std::string& name, io::Failure& failure) {
    standard_ = name == "-";
    if (!standard_) {
        path_ = name;
        return true;
    }
    struct stat info {};
    if (::fstat(STDIN_FILENO, &info) == 0 && S_ISREG(info.st_mode)) {
        path_ = DescriptorPath(STDIN_FILENO);
        return true;
    }
    spool_ = io::AnonymousFile(ScratchFolder(), failure);
    if (!spool_.ok()) return false;
    std::vector<unsigned char> buffer(kCopyBytes);
    for (;;) {
        const std::int64_t got = io::ReadUpTo(STDIN_FILENO, buffer.data(), buffer.size());
        if (got < 0) {
            failure = io::FailureNow(io::FailureKind::Read, "-");
            return false;
        }
        if (got == 0) break;
        if (!io::WriteAll(spool_.get(), buffer.data(), static_cast<std::size_t>(got))) {
            failure = io::FailureNow(io::FailureKind::Write, ScratchFolder());
            return false;
        }
    }
    path_ = DescriptorPath(spool_.get());
    return true;
}

io::Failure Input::Named(io::Failure failure) const {
    if (standard_) failure.path.assign(1, '-');
    return failure;
}

bool Output::Open(const std::string& name, const Options& options, io::Failure& failure) {
    options_ = options;
    standard_ = name == "-";
    name_ = standard_ ? std::string("-") : name;
    if (!standard_) {
        io::Target target(name);
        target.mayReplace = options.mayReplace;
        target.mode = options.mode;
        target.source = options.source;
        return file_.Begin(target, kOutputTempPrefix, failure);
    }
    const bool convert = options.content == Content::Text && IsTerminal(STDOUT_FILENO);
    if (options.seekable || convert) {
        // A pass that writes at offsets gets a file of its own; standard output gets the bytes
        // in order afterwards, wherever it points.
        spool_ = io::AnonymousFile(ScratchFolder(), failure);
        return spool_.ok();
    }
    return true;
}

int Output::fd() const {
    if (!standard_) return file_.fd();
    return spool_.ok() ? spool_.get() : STDOUT_FILENO;
}

void Output::EndIfReaderGone() const {
    struct stat info {};
    if (::fstat(STDOUT_FILENO, &info) != 0 || !S_ISFIFO(info.st_mode)) return;
    pollfd out{STDOUT_FILENO, POLLOUT, 0};
    if (::poll(&out, 1, 0) == 1 && (out.revents & POLLERR) != 0) EndOnClosedPipe();
}

bool Output::Finish(io::Failure& failure) {
    if (!standard_) return file_.Commit(failure);
    if (!spool_.ok()) return true;
    const bool convert = options_.content == Content::Text && IsTerminal(STDOUT_FILENO);
    std::vector<unsigned char> buffer(kCopyBytes);
    for (std::uint64_t offset = 0;;) {
        const std::int64_t got = io::ReadUpToAt(spool_.get(), buffer.data(), buffer.size(), offset);
        if (got < 0) {
            failure = io::FailureNow(io::FailureKind::Read, ScratchFolder());
            return false;
        }
        if (got == 0) return true;
        offset += static_cast<std::uint64_t>(got);
        bool written = false;
        if (convert) {
            std::string_view piece(reinterpret_cast<const char*>(buffer.data()),
                                   static_cast<std::size_t>(got));
            // A character split between two buffers is read again with the next one.
            if (options_.encoding == Encoding::Utf8) {
                const std::size_t whole = WholeUtf8Prefix(piece);
                if (whole > 0) piece = piece.substr(0, whole);
            }
            offset -= static_cast<std::uint64_t>(got) - piece.size();
            const std::string text = ForTerminal(piece, options_.encoding);
            written = WriteOut(STDOUT_FILENO, text.data(), text.size());
        } else {
            written = WriteOut(STDOUT_FILENO, buffer.data(), static_cast<std::size_t>(got));
        }
        if (!written) {
            failure = io::FailureNow(io::FailureKind::Write, "-");
            return false;
        }
    }
}

}  // namespace varn::cli
