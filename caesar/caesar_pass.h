#pragma once

#include <string>

#include "io/failure.h"
#include "text/dos_text.h"
#include "text/progress.h"

namespace varn {

// What a pass did. Success: no failure and no refusal.
struct CaesarOutcome {
    // What failed: Create (the temporary), NotReplaceable or Replace (the result's name), Read
    // (the file could not be read to its end), Write (the result could not be written in full or
    // flushed). Nothing was changed then.
    io::Failure failure;
    // Replace mode: the file has no write permission bit, so it is not replaced; nothing done.
    bool notWritable = false;
    // In DOS text mode the file would not come back from the pass there and back (a byte 26
    // before its end, a byte 13 without a 10 after it). Into "__varn__.enc" the pass runs all the
    // same and this is a warning; replace mode refuses it (`notRestorable`), nothing done.
    bool notPlainText = false;
    bool notRestorable = false;
    bool succeeded() const { return !failure && !notWritable && !notRestorable; }
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
// The encoding of a file for a pass: UTF-8 when the file is UTF-8; else the 8-bit page found in
// the file (when enciphering) or in its deciphered bytes (when deciphering). For the options:
// UTF-8 shifts the characters' 8-bit codes, the 8-bit pages shift the bytes themselves.
Encoding CaesarTextEncoding(const std::string& fileName, bool decipher);
DosTextOptions CaesarOptions(Encoding encoding);

CaesarOutcome RunCaesarPass(const std::string& fileName, bool decipher, bool replace, Progress& bar,
                            const DosTextOptions& options = {});

}  // namespace varn
