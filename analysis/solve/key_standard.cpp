#include "analysis/solve/key_standard.h"

namespace varn::solve {

std::string StandardForKey(const LetterTable& table, const std::array<unsigned char, 256>& plain,
                           Language language, int direction, bool withSpace) {
    const Alphabet alphabet(language);
    bool member[256] = {};
    for (int s = 0; s < alphabet.letters(); ++s) member[alphabet.letter(s)] = true;
    if (withSpace) member[static_cast<unsigned char>(' ')] = true;
    LetterTable sorted = table;
    SortLetterTable(sorted, direction);
    std::string standard;
    for (const LetterEntry& entry : sorted) {
        if (!member[entry.character]) continue;
        standard += static_cast<char>(entry.character == ' ' ? ' ' : plain[entry.character]);
    }
    return standard;
}

}  // namespace varn::solve
