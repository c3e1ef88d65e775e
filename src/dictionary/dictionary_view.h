// The dictionary tables as the reading conversion takes them: the word and reading slots and
// the lookups over them. The process has one pair of tables (g_dicWord, g_dicYomi); the
// conversion is handed a view of them rather than reaching for them itself.
#pragma once

#include "dictionary/dic_tables.h"

#include <string_view>

namespace yomi6 {

// Which lookup finds the first matching slot; both give the same answer.
enum class DicLookup { Indexed, LinearReference };

class DictionaryView {
public:
    using Lookup = int (*)(const unsigned char* text);

    DictionaryView(const char (*words)[kWordSlotSize], const char (*readings)[kYomiSlotSize],
                   Lookup firstMatch, Lookup firstUserMatch)
        : m_words(words), m_readings(readings), m_firstMatch(firstMatch),
          m_firstUserMatch(firstUserMatch) {}

    // The first slot in table order whose word starts text, or -1. text must be readable for
    // 12 bytes, zero-padded past its end.
    int FirstMatch(const unsigned char* text) const { return m_firstMatch(text); }
    // The same among the user rows alone: the longest user word that starts text, or -1.
    int FirstUserMatch(const unsigned char* text) const { return m_firstUserMatch(text); }

    std::string_view Word(int slot) const;
    std::string_view Reading(int slot) const;

private:
    const char (*m_words)[kWordSlotSize];
    const char (*m_readings)[kYomiSlotSize];
    Lookup m_firstMatch;
    Lookup m_firstUserMatch;
};

// The view of the process's tables with the given lookup.
DictionaryView ProcessDictionary(DicLookup lookup = DicLookup::Indexed);

} // namespace yomi6
