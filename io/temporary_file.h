#pragma once

#include <string>
#include <string_view>

#include "io/failure.h"
#include "io/fd.h"

namespace varn::io {

// The folder of a path: "." for a bare name, "/" for a name in the root.
std::string FolderOf(const std::string& path);

// Whether `name` (a name in a folder, without the folder) is one that Create makes for `prefix`:
// "<prefix>." and eight letters or digits.
bool IsTemporaryName(std::string_view name, std::string_view prefix);

// A file of our own: created exclusively under a fresh name, so no other program (another copy
// of this one included) and no planted link can be behind it. Locked (flock, exclusive) while it
// is open, so that other copies can tell it from one a killed run left behind. Removed when
// dropped, unless kept.
class TemporaryFile {
  public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() { Remove(); }

    // Creates "<folder>/<prefix>.<random>" with O_CREAT | O_EXCL | O_NOFOLLOW, mode 0600, open
    // for reading and writing, and locks it; first removes the stale temporaries of `prefix` in
    // that folder (see RemoveStaleTemporaries). On failure (Create) nothing is left behind.
    bool Create(const std::string& folder, std::string_view prefix, Failure& failure);

    bool IsOpen() const { return fd_.ok(); }
    int fd() const { return fd_.get(); }
    const std::string& path() const { return path_; }
    // Closes the descriptor: false when a delayed write error shows (errno set).
    bool Close() { return fd_.Close(); }
    // The name has been renamed into place: it is not ours to remove any more.
    void Keep() { path_.clear(); }
    // Removes the file now, if its name still holds it.
    void Remove();

  private:
    Fd fd_;
    std::string path_;
    // Its identity, so that a name someone else has put in its place is never removed.
    dev_t device_ = 0;
    ino_t inode_ = 0;
};

// A file with no name in `folder`, open for reading and writing: scratch space that vanishes with
// its descriptor whatever ends the program, and that no other program can reach. Create on
// failure.
Fd AnonymousFile(const std::string& folder, Failure& failure);

}  // namespace varn::io
