// The user rows a fuzz input writes into the dictionary tables. Clearing the whole tables
// (340 KB) and building the word index twice per input held the targets that use them to a few
// hundred inputs a second; only the rows the previous input wrote are cleared, and the index is
// built once, after the new rows are in.
#pragma once

#include "dictionary/dictionary.h"

#include <cstring>

namespace fuzz {

class UserRows {
public:
    // The dictionary the inputs write into. The fuzzer calls its target with nothing to hang
    // state on, and a fresh dictionary per input would cost what clearing the tables did: one
    // for the whole run.
    static yomi6::Dictionary& Dictionary() {
        static yomi6::Dictionary dictionary;
        return dictionary;
    }

    // Clears the rows the previous input wrote; the built-in rows stay as they are.
    static void Begin() {
        yomi6::DicTables& tables = Dictionary().Tables();
        for (int slot = yomi6::kBuiltinRows; slot < yomi6::kBuiltinRows + Written(); ++slot) {
            std::memset(tables.word[slot], 0, sizeof tables.word[slot]);
            std::memset(tables.yomi[slot], 0, sizeof tables.yomi[slot]);
        }
        Written() = 0;
    }

    // The input wrote the slots before end: remember them and index the tables.
    static void End(int end) {
        Written() = end - yomi6::kBuiltinRows;
        Dictionary().Changed();
    }

private:
    static int& Written() {
        static int written = 0;
        return written;
    }
};

} // namespace fuzz
