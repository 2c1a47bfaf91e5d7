#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "text/encoding.h"

namespace varn {

// The bytes of a file that detection looks at.
inline constexpr std::size_t kDetectionSample = std::size_t{64} << 10;

// The encoding of a text, and whether Windows-1251 won only as the default.
struct Detection {
    Encoding encoding = Encoding::Windows1251;
    // The text reads as well in KOI8-R: it is in one case, without ё or a sign that only one of
    // the pages holds, so its bytes cannot tell Windows-1251 capitals from KOI8-R small letters.
    bool koi8rReadsAsWell = false;
};

// UTF-8 when the text starts with a BOM, or when it is strict UTF-8 holding at least one
// multi-byte sequence (`cut`: the sample may end inside a sequence). Else the 8-bit page whose
// reading has the fewest characters a Russian text does not hold, whose cases look like a text's
// where it has both (capitals at word starts, far fewer than small letters; a substitution key
// keeps cases), and whose letters alone are as frequent as Russian ones (a plain text). Where
// nothing tells, Windows-1251. A text without bytes from 128 up is Windows-1251 (every page reads
// it alike).
Detection Detect(std::string_view sample, bool cut = false);
Encoding DetectEncoding(std::string_view sample, bool cut = false);

// The first kDetectionSample bytes of a file; `cut` tells whether more follow. Throws
// io::FileError as io::ReadWholeFile does.
std::string ReadDetectionSample(const std::string& path, bool& cut);

// Detect on that sample.
Detection DetectFile(const std::string& path);
Encoding DetectFileEncoding(const std::string& path);

}  // namespace varn
