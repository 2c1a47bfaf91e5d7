#include "io/failure.h"

#include <cerrno>
#include <cstring>

namespace varn::io {

namespace {

const char* KindName(FailureKind kind) {
    switch (kind) {
        case FailureKind::None:
            return "no failure";
        case FailureKind::Open:
            return "cannot open";
        case FailureKind::NotRegular:
            return "not a regular file";
        case FailureKind::Read:
            return "cannot read";
        case FailureKind::Create:
            return "cannot create";
        case FailureKind::NotReplaceable:
            return "not a file that can be replaced";
        case FailureKind::Write:
            return "cannot write";
        case FailureKind::Replace:
            return "cannot replace";
        case FailureKind::Changed:
            return "changed during the operation";
        case FailureKind::NameTooLong:
            return "name too long";
        case FailureKind::Cancelled:
            return "cancelled";
    }
    return "unknown failure";
}

std::string Describe(const Failure& failure) {
    std::string text = std::string(KindName(failure.kind)) + ": " + failure.path;
    if (failure.error != 0) text += ": " + std::string(std::strerror(failure.error));
    return text;
}

}  // namespace

Failure FailureNow(FailureKind kind, const std::string& path) {
    return {kind, path, errno};
}

Failure ReadFailure(const std::string& path, int error) {
    return {error == ECANCELED ? FailureKind::Cancelled : FailureKind::Read, path, error};
}

Failure ReadFailureNow(const std::string& path) {
    return ReadFailure(path, errno);
}

FileError::FileError(Failure failure)
    : std::runtime_error(Describe(failure)), failure_(std::move(failure)) {}

}  // namespace varn::io
