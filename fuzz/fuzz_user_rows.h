// The user rows a fuzz input writes into the dictionary tables. Clearing the whole tables
// (340 KB) and building the word index twice per input held the targets that use them to a few
// hundred inputs a second; only the rows the previous input wrote are cleared, and the index is
// built once, after the new rows are in.
#pragma once

#include "dictionary/dic_index.h"
#include "dictionary/dic_tables.h"

#include <cstring>

namespace fuzz {

class UserRows {
public:
    // Clears the rows the previous input wrote; the built-in rows stay as they are.
    static void Begin() {
        static const bool loaded = (yomi6::ResetDicTables(), true);
        (void)loaded;
        for (int slot = yomi6::kBuiltinRows; slot < yomi6::kBuiltinRows + Written(); ++slot) {
            std::memset(g_dicWord[slot], 0, sizeof g_dicWord[slot]);
            std::memset(g_dicYomi[slot], 0, sizeof g_dicYomi[slot]);
        }
        Written() = 0;
    }

    // The input wrote the slots before end: remember them and index the tables.
    static void End(int end) {
        Written() = end - yomi6::kBuiltinRows;
        yomi6::RebuildDicIndex();
    }

private:
    static int& Written() {
        static int written = 0;
        return written;
    }
};

} // namespace fuzz
