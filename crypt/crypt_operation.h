#pragma once

// One whole cipher operation of the window: one pass, or three for 3X, and putting the result in
// place.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "crypt/crypt_finish.h"
#include "crypt/crypt_messages.h"
#include "crypt/idea_stream.h"
#include "io/failure.h"

namespace varn {

// Every temporary of an operation is "tempfile.dnc.<random>", created exclusively in the folder
// of the file it will replace.
inline constexpr const char* kCryptTempPrefix = "tempfile.dnc";

// A module failure and what failed underneath (empty for the format's own refusals).
using CryptReport = std::function<void(CryptMessage, const io::Failure&)>;

struct CryptRequest {
    std::string fileName;  // used whole
    std::vector<std::string>
        passwords;  // Windows-1251 bytes, in pass order (3X decryption: 3, 2, 1)
    bool decrypt = false;
    bool overwrite = true;  // replace the file; otherwise the result goes to CryptEncName(fileName)
    IdeaStreamOptions options{};
};

enum class CryptOutcome {
    Done,          // every pass succeeded and the result is in place
    OpenFailed,    // the named file cannot be opened for update (missing, read-only, not a file)
    TempFailed,    // a temporary file cannot be created
    ModuleFailed,  // a module message was reported; every user file is as it was
};

// Runs a pass per password, each from the result of the one before, through exclusive
// temporaries beside the target. Only a complete, flushed result replaces anything, by one
// rename: over the named file (which keeps its permission bits and, after the rename, has its
// old content overwritten with "0" characters unless another hard link still holds it), or to
// CryptEncName(fileName), which is never replaced and gets the named file's permission bits.
// Decryption refuses a wrong password (see IdeaCheckPadding) before anything is written, and
// encryption a file whose layers would not fit the length field (TooLarge). A file that changed
// during the passes is not replaced (FileChanged). Every failure removes what the operation
// created.
CryptOutcome RunCryptOperation(const CryptRequest& request, const CryptReport& report);

// Whether three 3X passwords are accepted. All are: each pass encrypts, so no choice of passwords
// makes the layers cancel, and equal ones only add no strength beyond one.
bool Valid3XPassword(std::string_view password1, std::string_view password2,
                     std::string_view password3);

}  // namespace varn
