#pragma once

#include <stdexcept>
#include <string>

namespace varn::io {

// What went wrong with a file. The file layer and the cores report only this; the window chooses
// the words the user reads.
enum class FailureKind {
    None,
    Open,            // an input cannot be opened
    NotRegular,      // an input is a folder, FIFO, device or socket, not a plain file
    Read,            // an input could not be read to its end
    Create,          // a result or its temporary cannot be created
    NotReplaceable,  // a result's name holds a folder, FIFO, device or socket, or a dead link
    Write,           // a result could not be written in full or flushed to the medium
    Replace,         // a complete result could not be renamed into place
    Changed,         // the file being replaced changed (or went) while the pass read it
    NameTooLong,     // a result's name is longer than the file system allows
    Cancelled,       // the user stopped the pass: a read was refused, or nothing was committed
};

struct Failure {
    FailureKind kind = FailureKind::None;
    std::string path;
    int error = 0;  // errno of the call that failed
    explicit operator bool() const { return kind != FailureKind::None; }
};

// A failure with the current errno.
Failure FailureNow(FailureKind kind, const std::string& path);

// A read of `path` that failed with errno `error`: Cancelled where the user's cancel refused it
// (ECANCELED), else Read.
Failure ReadFailure(const std::string& path, int error);
// The same with the current errno.
Failure ReadFailureNow(const std::string& path);

// Thrown by the whole-file helpers; what() is a plain description for logs and tests, not the
// text shown to the user.
class FileError : public std::runtime_error {
  public:
    explicit FileError(Failure failure);
    const Failure& failure() const { return failure_; }

  private:
    Failure failure_;
};

}  // namespace varn::io
