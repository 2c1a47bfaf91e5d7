#pragma once

// One whole cipher operation of the window: one pass, or three for 3X, and the finish step.

#include <string>
#include <string_view>
#include <vector>

#include "crypt/crypt_finish.h"
#include "crypt/crypt_messages.h"
#include "crypt/idea_stream.h"

namespace varn {

// Input of the middle 3X passes, next to kCryptTempName; removed at the end whatever happens.
inline constexpr const char* kCrypt3XTempName = "tempfile-3x.dnc";

struct CryptRequest {
    std::string fileName;  // used whole
    std::vector<std::string>
        passwords;  // Windows-1251 bytes, in pass order (3X decryption: 3, 2, 1)
    bool decrypt = false;
    bool overwrite = true;  // replace the file; otherwise the result goes to CryptEncName(fileName)
    IdeaStreamOptions options{};
};

enum class CryptOutcome {
    Done,          // every pass and the finish step succeeded
    OpenFailed,    // the named file cannot be opened for update (missing, read-only, not a file)
    TempFailed,    // a temporary file cannot be created or opened
    ModuleFailed,  // a module message was reported; the named file is as it was unless the
                   // finish step had already begun (see CryptFinishFile)
};

// Runs a pass per password through temporary files; the named file is touched only by the finish
// step after the last pass succeeded. A failed pass is reported once and its output removed.
CryptOutcome RunCryptOperation(const CryptRequest& request, const CryptReport& report);

// Whether three 3X passwords are accepted. All are: each pass encrypts, so no choice of passwords
// makes the layers cancel, and equal ones only add no strength beyond one.
bool Valid3XPassword(std::string_view password1, std::string_view password2,
                     std::string_view password3);

}  // namespace varn
