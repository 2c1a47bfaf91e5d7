#pragma once

// Where a subcommand reads and writes: named files, or standard input and output ("-").

#include <sys/types.h>

#include <QString>
#include <optional>
#include <string>

#include "io/failure.h"
#include "io/fd.h"
#include "io/replacement.h"
#include "text/encoding.h"

namespace varn::cli {

// The folder for scratch files: $TMPDIR, else /tmp.
std::string ScratchFolder();

// An input of a pass, always a regular file by name. "-" is standard input: used as it is when
// it is a regular file, otherwise copied first into a file of no name (a pipe can be read once,
// and the passes read their input more than once).
class Input {
  public:
    bool Open(const std::string& name, io::Failure& failure);
    // The name the passes open.
    const std::string& path() const { return path_; }
    bool IsStandardInput() const { return standard_; }
    // A failure about the input, named as the user named it.
    io::Failure Named(io::Failure failure) const;

  private:
    std::string path_;
    bool standard_ = false;
    io::Fd spool_;
};

// What a result holds, for how it is shown on a terminal.
enum class Content {
    Text,   // text in Options::encoding: on a terminal shown in the terminal's encoding
    Bytes,  // bytes written as they are
};

// A result on its way: a named file replaced only by the complete result (an existing one only
// when `mayReplace`), or standard output ("-"), written directly or, where the pass needs a file
// it can seek in or the text has to be converted for a terminal, through a file of no name.
class Output {
  public:
    struct Options {
        Content content = Content::Text;
        Encoding encoding = Encoding::Windows1251;  // of Content::Text
        bool mayReplace = false;
        bool seekable = false;       // the pass writes at offsets
        std::optional<mode_t> mode;  // permission bits of a new named result
        // The input the result is made from: a named result is not put in place when the input
        // changed during the pass.
        std::optional<io::Target::Source> source;
    };
    bool Open(const std::string& name, const Options& options, io::Failure& failure);

    int fd() const;
    // The name for messages about writing.
    const std::string& path() const { return name_; }
    bool IsStandardOutput() const { return standard_; }
    // Puts the result in place (or on standard output). A closed pipe ends the program quietly.
    bool Finish(io::Failure& failure);
    // After a failed write on standard output: ends the program quietly when its reader is gone.
    void EndIfReaderGone() const;

  private:
    Options options_;
    std::string name_;
    bool standard_ = false;
    io::Fd spool_;
    io::Replacement file_;
};

// Why a result named on the command line may not be written, told before any work is spent on
// it: its name holds a file (a dangling link included) and `force` is not given, or, where
// `inputItself` is given, it is the input `file` under any spelling. Empty when it may be
// written; standard output ("-") always may.
QString RefusedOutput(const std::string& outName, bool force, const std::string& file = {},
                      const QString& inputItself = {});

}  // namespace varn::cli
