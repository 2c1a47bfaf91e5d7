#include "analysis/replace_letters.h"

namespace varn {

ByteMap SubstitutionMap(const LetterTable& table, CapitalPartner capitals) {
    ByteMap pairedOf{};
    for (const LetterEntry& entry : table) pairedOf[entry.character] = entry.paired;
    ByteMap map{};
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        const unsigned char small = LowerChar(byte);
        const bool capital = small != byte;
        map[b] = capitals == CapitalPartner::Capital && capital ? UpperChar(pairedOf[small])
                                                                : pairedOf[small];
    }
    return map;
}

io::Failure ReplaceLetters(const LetterTable& table, const std::string& inPath,
                           const io::Target& out, const ProgressAdvance& advance,
                           const DosTextOptions& options) {
    return TranslateDosText(inPath, out, SubstitutionMap(table), ProgressRule::AdvanceBefore,
                            advance, options);
}

io::Failure ReplaceLetters(const LetterTable& table, const InputFile& input, int output,
                           const ProgressAdvance& advance, const DosTextOptions& options) {
    return TranslateDosText(input, output, SubstitutionMap(table), ProgressRule::AdvanceBefore,
                            advance, options);
}

}  // namespace varn
