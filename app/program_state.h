#pragma once

#include <optional>
#include <string>

#include "analysis/letter_table.h"
#include "passgen/random_source.h"
#include "text/encoding.h"

// Program-wide values that span tabs. One window per process, so they live with it.
struct ProgramState {
    // 0 = Russian (the value at every start), anything else = English.
    int InterfaceLanguage = 0;
    // 0 = descending (most frequent first), 1 = ascending.
    int SortDirection = 0;
    // The letter table of the last count: the substitution key.
    varn::LetterTable LetterTable = [] {
        varn::LetterTable table{};
        varn::ResetLetterTable(table);
        return table;
    }();
    // The encoding chosen on the File tab for the file under study (none: the one detected),
    // and the one detected when the file was chosen. Windows-1251 while no file is chosen.
    std::optional<varn::Encoding> EncodingChoice;
    varn::Encoding DetectedEncoding = varn::Encoding::Windows1251;
    // Windows-1251 was detected only as the default: the file reads as well in KOI8-R.
    bool Koi8rReadsAsWell = false;
    varn::Encoding FileEncoding() const { return EncodingChoice.value_or(DetectedEncoding); }
    // Draws of the password generator; the system's random source when none is set.
    varn::RandomSource* passwordRandom = nullptr;
};
