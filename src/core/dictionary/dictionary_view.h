// The dictionary tables as the reading conversion takes them: the word and reading slots and
// the lookups over them. A dictionary hands out a view of its tables (Dictionary::View); the
// conversion reads through the view rather than reaching for a dictionary itself.
#pragma once

#include "dictionary/dic_tables.h"

#include <string_view>

namespace yomi6 {

class DicIndex;

// Which lookup finds the first matching slot; both give the same answer.
enum class DicLookup { Indexed, LinearReference };

class DictionaryView {
public:
    using Lookup = int (*)(const unsigned char* text);

    // Tables of the caller's own with lookups of its own (a test's few rows).
    DictionaryView(const char (*words)[kWordSlotSize], const char (*readings)[kYomiSlotSize],
                   Lookup firstMatch, Lookup firstUserMatch)
        : m_words(words), m_readings(readings), m_firstMatch(firstMatch),
          m_firstUserMatch(firstUserMatch) {}

    // A dictionary's tables, looked up through its index or by the reference scan.
    DictionaryView(const DicTables& tables, const DicIndex& index, DicLookup lookup)
        : m_words(tables.word), m_readings(tables.yomi), m_index(&index), m_lookup(lookup) {}

    // The first slot in table order whose word starts text, or -1. text must be readable for
    // 12 bytes, zero-padded past its end.
    int FirstMatch(const unsigned char* text) const;
    // The same among the user rows alone: the longest user word that starts text, or -1.
    int FirstUserMatch(const unsigned char* text) const;

    std::string_view Word(int slot) const;
    std::string_view Reading(int slot) const;

private:
    const char (*m_words)[kWordSlotSize];
    const char (*m_readings)[kYomiSlotSize];
    // Either a dictionary's index or the two lookups of the caller's own.
    const DicIndex* m_index = nullptr;
    DicLookup m_lookup = DicLookup::Indexed;
    Lookup m_firstMatch = nullptr;
    Lookup m_firstUserMatch = nullptr;
};

} // namespace yomi6
