#pragma once

#include <string>

namespace varn {

// The name a result gets when the old file is kept: in the file's own folder, the file's own name
// with its leading dots skipped, cut before the next dot, plus ".enc" ("/a/b.c/x.txt" ->
// "/a/b.c/x.enc", ".bashrc" -> "bashrc.enc"). A name of nothing but dots has no stem to keep, so
// ".enc" is appended to it whole ("..." -> "....enc"): still beside it and never the same name.
std::string CryptEncName(const std::string& sourceName);

// Overwrites the whole content of the open file with "0" characters and flushes it: the old
// file's data does not outlive its replacement on the medium. False with errno on failure.
bool OverwriteWithZeros(int fd);

}  // namespace varn
