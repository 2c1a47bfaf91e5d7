#pragma once

// Program-wide values that span tabs. One window per process, so they live with it.
struct ProgramState {
    // 0 = Russian (the value at every start), anything else = English.
    int InterfaceLanguage = 0;
    // 0 = descending (most frequent first), 1 = ascending.
    int SortDirection = 0;
};
