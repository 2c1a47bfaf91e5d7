#pragma once

#include <functional>
#include <string>

#include "crypt/crypt_messages.h"

namespace varn {

// The result of a pass, in the process's current directory.
inline constexpr const char* kCryptTempName = "tempfile.dnc";

using CryptReport = std::function<void(CryptMessage)>;

// The name a result gets when the old file is kept: in the file's own folder, the file's own name
// with its leading dots skipped, cut before the next dot, plus ".enc" ("/a/b.c/x.txt" ->
// "/a/b.c/x.enc", ".bashrc" -> "bashrc.enc"). A name of nothing but dots has no stem to keep, so
// ".enc" is appended to it whole ("..." -> "....enc"): still beside it and never the same name.
std::string CryptEncName(const std::string& sourceName);

// Puts kCryptTempName in place of sourceName. overwrite: the old file is overwritten with "0"
// characters, deleted and replaced; otherwise the result is moved to CryptEncName(sourceName).
// An existing file is never replaced by the move. Failures are reported (several may be, e.g. the
// overwrite and then the removal); false means the result is still in kCryptTempName.
bool CryptFinishFile(const std::string& sourceName, bool overwrite, const CryptReport& report);

}  // namespace varn
