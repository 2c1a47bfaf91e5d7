#pragma once

#include <string>

#include "text/dos_text.h"

namespace varn::cli {

// Writes the file through `map` (on 8-bit codes) to the descriptor as "Create..." writes its new
// file, in the file's `encoding` (Windows-1251 and CP866 in DOS text mode: every CR dropped,
// input ending at the first byte 26, LF written as CR LF). Returns an empty string, or what went
// wrong.
std::string WriteDeciphered(const std::string& path, const ByteMap& map, int descriptor,
                            Encoding encoding = Encoding::Windows1251);

}  // namespace varn::cli
