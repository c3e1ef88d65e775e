#include "dictionary/dictionary_view.h"

#include "dictionary/dic_index.h"

#include <cstring>

namespace yomi6 {

namespace {

// The reference scan of the user rows: the first, in table order, whose word starts text.
int LinearFindFirstUserMatch(const unsigned char* text) {
    for (int slot = kBuiltinRows; slot < kDicSlots; ++slot) {
        if (g_dicYomi[slot][0] == '\0') {
            return -1;
        }
        const std::size_t len = ::strnlen(g_dicWord[slot], kWordSlotSize - 1);
        if (len > 0 && std::memcmp(text, g_dicWord[slot], len) == 0) {
            return slot;
        }
    }
    return -1;
}

} // namespace

std::string_view DictionaryView::Word(int slot) const {
    return {m_words[slot], ::strnlen(m_words[slot], kWordSlotSize - 1)};
}

std::string_view DictionaryView::Reading(int slot) const {
    return {m_readings[slot], ::strnlen(m_readings[slot], kYomiSlotSize - 1)};
}

DictionaryView ProcessDictionary(DicLookup lookup) {
    if (lookup == DicLookup::LinearReference) {
        return {g_dicWord, g_dicYomi, LinearFindFirstMatch, LinearFindFirstUserMatch};
    }
    return {g_dicWord, g_dicYomi, FindFirstMatch, FindFirstUserMatch};
}

} // namespace yomi6
