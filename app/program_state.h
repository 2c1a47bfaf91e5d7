#pragma once

#include <string>

#include "analysis/letter_table.h"
#include "passgen/random_source.h"

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
    // Draws of the password generator; the system's random source when none is set.
    varn::RandomSource* passwordRandom = nullptr;
};
