#pragma once

#include <string>

#include "analysis/letter_table.h"
#include "text/dos_text.h"
#include "text/progress.h"

namespace varn {

// map[b] = the paired letter of the entry whose character is LowerChar(b).
ByteMap SubstitutionMap(const LetterTable& table);

// Writes the file `inPath` in DOS text mode with every byte replaced through
// SubstitutionMap(table) to a temporary that then replaces `out` atomically; advances at
// characters 0, 100, 200, ... (250 characters: 3 steps).
io::Failure ReplaceLetters(const LetterTable& table, const std::string& inPath,
                           const io::Target& out, const ProgressAdvance& advance,
                           const DosTextOptions& options = {});

// The same into an open descriptor.
io::Failure ReplaceLetters(const LetterTable& table, const InputFile& input, int output,
                           const ProgressAdvance& advance, const DosTextOptions& options = {});

}  // namespace varn
