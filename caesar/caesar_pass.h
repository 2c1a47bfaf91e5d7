#pragma once

#include <string>
#include <vector>

#include "analysis/dos_text.h"
#include "analysis/progress.h"

namespace varn {

// What the window shows after a pass, in order.
enum class CaesarMessage {
    InputNotOpen,            // the file cannot be read for the pass
    TempNotOpen,             // "__varn__.tmp" cannot be created or written in full
    SourceNotRemoved,        // replace mode: the file stays as it was
    TempNotRenamedToSource,  // replace mode: the result stays in "__varn__.tmp"
    TempNotRenamedToCrypt,   // separate mode: the result stays in "__varn__.tmp"
    DoneEncrypt,             // separate mode: completion, the result is in "__varn__.enc"
    DoneDecrypt,
};

inline constexpr char kCaesarTempFile[] = "__varn__.tmp";
inline constexpr char kCaesarResultFile[] = "__varn__.enc";

// One enciphering (or deciphering) pass over `fileName` (used whole), through "__varn__.tmp"
// in the current folder, then over the file itself (`replace`) or into "__varn__.enc".
// Sets the bar's maximum to size / 100 and position 0, advances it after the 100th, 200th, ...
// character, fills it once the pass is written. A file that cannot be written to (no write
// permission bit) is not replaced. Throws std::runtime_error("Cannot open file " + fileName)
// when the file cannot be opened to take its size. An empty name is the caller's to refuse.
std::vector<CaesarMessage> RunCaesarPass(const std::string& fileName, bool decipher, bool replace,
                                         Progress& bar, const DosTextOptions& options = {});

}  // namespace varn
