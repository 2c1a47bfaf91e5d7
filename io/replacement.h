#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "io/failure.h"
#include "io/file_version.h"
#include "io/open_file.h"
#include "io/temporary_file.h"

namespace varn::io {

// Where a result goes and on what terms.
struct Target {
    Target() = default;
    // A plain name: replaced whole, links followed, permission bits kept.
    Target(std::string name) : path(std::move(name)) {}  // NOLINT(google-explicit-constructor)

    std::string path;
    // A symbolic link at the name: true replaces the file it points to (the link stays), false
    // replaces the link itself and never touches what it points to.
    bool followLink = true;
    // False: an existing file of that name is never replaced (the rename fails with EEXIST).
    bool mayReplace = true;
    // Permission bits of the result; by default those of the file replaced, or 0666 less the
    // umask for a new file.
    std::optional<mode_t> mode;
    // Replace only while the name still holds this file as the pass read it (an input that is
    // being replaced): the same file, size and times.
    std::optional<FileVersion> expected;
    // The input the result was made from, still open: the result takes its name only while that
    // file is as the pass read it, since a copy of a file written during the pass (a log, say)
    // matches no state of it.
    struct Source {
        int fd = -1;
        std::string path;  // for the failure
        FileVersion version;
    };
    std::optional<Source> source;
};

// A result on its way into place: written to an exclusive temporary beside the target, it takes
// the target's name by one rename once complete and on the medium, so the old content stays whole
// until then. Dropped without Commit, it leaves nothing behind.
class Replacement {
  public:
    // Checks the target (a name that exists must be a plain file) and creates the temporary,
    // "<prefix>.<random>", in its folder. Failures, all with the target's path: NotReplaceable
    // (a folder, FIFO, device, socket or dead link at the name), Replace with EEXIST (the name
    // is taken and may not be replaced), NameTooLong (the name, or the temporary's beside it, is
    // longer than the file system allows), Create (the temporary cannot be created).
    bool Begin(const Target& target, std::string_view prefix, Failure& failure);

    int fd() const { return temporary_.fd(); }
    // The name that the result takes: the target, or the file its link points to.
    const std::string& path() const { return path_; }
    const std::string& temporaryPath() const { return temporary_.path(); }

    // Gives the result its permission bits (and the replaced file's owner where allowed),
    // flushes it, renames it over the target and flushes the folder. Failures: Write (the result
    // could not be flushed), Cancelled (the user asked to stop: the result is not wanted), Changed
    // (the name no longer holds the expected version: another file, or the same one written, cut or
    // grown; or the source was, with the source's path), Replace (the rename failed); the temporary
    // is then removed and the target untouched.
    bool Commit(Failure& failure);

  private:
    TemporaryFile temporary_;
    Target target_;
    std::string path_;
    mode_t mode_ = 0600;
    bool existed_ = false;
    uid_t owner_ = 0;
    gid_t group_ = 0;
};

// Tests only: called by every Commit just before it checks the expected version, so that a test
// can change a file between a pass and its commit. Empty by default; not for concurrent use.
void SetBeforeCommitCheck(std::function<void()> hook);

// Permission bits of a new file: 0666 less the process's umask.
mode_t NewFileMode();

}  // namespace varn::io
