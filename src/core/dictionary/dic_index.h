// Finding the first dictionary slot, in table order, whose word starts the text at a position.
//
// The reference answer is a linear scan of the used slots. The index gives the same answer
// without visiting the slots: the words are kept sorted as 12-byte big-endian keys, bucketed by
// their first two bytes, and each word knows its longest proper prefix among the words and the
// lowest slot along that chain. The last word not above the text in sorted order is either a
// prefix of the text or shares its longest word-prefix with the text, so one binary search in a
// small bucket and a walk of at most 12 prefix links find the answer.
#pragma once

#include "dictionary/dic_tables.h"
#include "dictionary/zeroed_block.h"

#include <atomic>
#include <memory>
#include <mutex>

namespace yomi6 {

// The lookups over one dictionary's tables, which it reads and never writes. Each of its two
// indexes is built when a lookup first needs it: the dictionary reading looks in the first
// alone, the automatic reading in the second alone, so loading a dictionary builds neither.
class DicIndex {
public:
    explicit DicIndex(const DicTables& tables);
    ~DicIndex();
    DicIndex(const DicIndex&) = delete;
    DicIndex& operator=(const DicIndex&) = delete;

    // Marks the index out of date after a change of the tables; call after every change. Each
    // of the two lookups below builds its part again when it is next used, so a change costs
    // nothing until a reading looks up a word, and only the part that reading needs.
    void MarkChanged();

    // The first matching slot in table order, or -1. text must be readable for 12 bytes; bytes
    // past the end of the text must be zero (they end every comparison, as words hold no zero).
    int FirstMatch(const unsigned char* text) const;

    // The first matching user row in table order (user rows are ordered longest word first, so
    // this is the longest user word that starts the text), or -1. The built-in rows are not
    // looked at. Same requirements on text as FirstMatch.
    int FirstUserMatch(const unsigned char* text) const;

    // The same answers by a plain scan of the tables in slot order (the reference).
    int LinearFirstMatch(const unsigned char* text) const;
    int LinearFirstUserMatch(const unsigned char* text) const;

    // Length in bytes of the word of slot (at most 12).
    int WordLength(int slot) const;

    struct Index;
    // One index and whether it matches the tables. False after a change of the tables: built
    // again when next looked in. A reading on a worker thread (an audio export) may be the
    // first to look, beside the editor's own.
    struct Part {
        ZeroedPtr<Index> index;
        std::atomic<bool> built{false};
        std::mutex building;
    };

private:
    const DicTables& m_tables;
    mutable Part m_all;  // every used slot
    mutable Part m_user; // the user rows alone
};

} // namespace yomi6
