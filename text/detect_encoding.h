#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "text/encoding.h"

namespace varn {

// The bytes of a file that detection looks at.
inline constexpr std::size_t kDetectionSample = std::size_t{64} << 10;

// The encoding of a text: UTF-8 when it starts with a BOM, or when it is strict UTF-8 holding at
// least one multi-byte sequence (`cut`: the sample may end inside a sequence); else the 8-bit
// page under which the text looks most like letters in their cases: letters in the page's letter
// ranges, capitals at word starts and small letters inside words. That survives a substitution
// key, which scrambles letters but not their cases. A text without bytes from 128 up is
// Windows-1251 (every page reads it alike).
Encoding DetectEncoding(std::string_view sample, bool cut = false);

// The first kDetectionSample bytes of a file; `cut` tells whether more follow. Throws
// io::FileError as io::ReadWholeFile does.
std::string ReadDetectionSample(const std::string& path, bool& cut);

// DetectEncoding on that sample.
Encoding DetectFileEncoding(const std::string& path);

}  // namespace varn
