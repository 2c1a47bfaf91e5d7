#pragma once

#include <string>

#include "analysis/letter_table.h"
#include "text/dos_text.h"
#include "text/progress.h"

namespace varn {

// What the substitution writes for a capital: its partner as the standard has it (a small
// letter), or that partner as a capital.
enum class CapitalPartner { AsInStandard, Capital };

// map[b] = the paired letter of the entry whose character is LowerChar(b); with
// CapitalPartner::Capital, UpperChar of it where b is a capital.
ByteMap SubstitutionMap(const LetterTable& table,
                        CapitalPartner capitals = CapitalPartner::AsInStandard);

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
