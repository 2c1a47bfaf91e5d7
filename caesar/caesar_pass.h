#pragma once

#include <string>
#include <vector>

#include "analysis/dos_text.h"
#include "analysis/progress.h"

namespace varn {

// What the window shows after a pass, in order.
enum class CaesarMessage {
    InputNotOpen,            // the file cannot be opened for the pass
    TempNotOpen,             // the temporary cannot be created, written in full or flushed
    SourceNotRemoved,        // replace mode: the file may not be replaced; it stays as it was
    TempNotRenamedToSource,  // replace mode: the result could not take the file's place
    TempNotRenamedToCrypt,   // separate mode: the result could not take the name "__varn__.enc"
    ReadFailed,              // the file could not be read to its end; nothing was changed
    FileChanged,             // replace mode: the file changed during the pass; it stays as it is
    DoneEncrypt,             // separate mode: completion, the result is in "__varn__.enc"
    DoneDecrypt,
};

// Temporaries are "__varn__.tmp.<random>", created exclusively beside the file they replace.
inline constexpr char kCaesarTempPrefix[] = "__varn__.tmp";
inline constexpr char kCaesarResultFile[] = "__varn__.enc";

// One enciphering (or deciphering) pass over `fileName` (used whole) into a temporary that then
// replaces the file itself (`replace`, keeping its permission bits) or "__varn__.enc" in the
// current folder (with the file's permission bits; a link at that name is replaced, never
// followed). Nothing is replaced unless the whole result was written and flushed; every failure
// leaves all files as they were and no temporary behind.
// Sets the bar's maximum to size / 100 and position 0, advances it after the 100th, 200th, ...
// character, fills it once the pass is written. A file that cannot be written to (no write
// permission bit) is not replaced. Throws io::FileError (Open or NotRegular) when the file
// cannot be opened to take its size; a FIFO or device is refused without being opened. An empty
// name is the caller's to refuse.
std::vector<CaesarMessage> RunCaesarPass(const std::string& fileName, bool decipher, bool replace,
                                         Progress& bar, const DosTextOptions& options = {});

}  // namespace varn
