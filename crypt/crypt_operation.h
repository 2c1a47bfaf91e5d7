#pragma once

// One whole cipher operation of the window: one pass, or three for 3X, and putting the result in
// place.

#include <string>
#include <vector>

#include "crypt/crypt_finish.h"
#include "crypt/crypt_result.h"
#include "crypt/idea_stream.h"
#include "io/failure.h"

namespace varn {

// Every temporary of an operation is "tempfile.dnc.<random>", created exclusively in the folder
// of the file it will replace.
inline constexpr const char* kCryptTempPrefix = "tempfile.dnc";

struct CryptRequest {
    std::string fileName;  // used whole
    std::vector<std::string>
        passwords;  // Windows-1251 bytes, in pass order (3X decryption: 3, 2, 1)
    bool decrypt = false;
    bool overwrite = true;  // replace the file; otherwise the result goes to CryptEncName(fileName)
    IdeaStreamOptions options{};
};

// Runs a pass per password, each from the result of the one before, through exclusive
// temporaries beside the target. Only a complete, flushed result replaces anything, by one
// rename: over the named file (which keeps its permission bits and, after the rename, has its
// old content overwritten with "0" characters unless another hard link still holds it), or to
// CryptEncName(fileName), which is never replaced and gets the named file's permission bits.
// Decryption refuses a wrong password (see IdeaCheckPadding) before anything is written, and
// encryption a file whose layers would not fit the length field (TooLarge) before the first pass.
// Every failure removes what the operation created. Failures, each with its file's name:
//   Open / NotRegular  the named file cannot be opened for update (missing, not a plain file, or
//                      without any write permission bit: read-only even for root)
//   Create / NotReplaceable  a temporary cannot be created, or the result's name holds no file
//   Read / Write       a pass could not read its source or write its result
//   NameTooLong        the result's name is longer than the file system allows
//   Changed            the file changed during the passes: nothing was replaced
//   Replace            the result could not take its name (EEXIST: the ".enc" name is taken)
// A wipe that fails leaves the result in place and is told in `wipe`.
CryptResult RunCryptOperation(const CryptRequest& request);

// An open file of a pass and its name for failures.
struct CryptFile {
    int fd;
    std::string name;
};

// The passes alone, one per password, each from the result of the one before: from `from` (a
// regular file, read from its start) into `to` (an empty regular file open for reading and
// writing), the middle results of 3X in exclusive temporaries in `folder` that are removed at the
// end. Each pass checks its source before writing anything (a wrong password is refused at its
// pass). After a failure `to` holds a partial result that is the caller's to discard.
CryptResult RunCryptPasses(const CryptFile& from, const CryptFile& to, const std::string& folder,
                           const std::vector<std::string>& passwords, bool decrypt,
                           const IdeaStreamOptions& options);

}  // namespace varn
