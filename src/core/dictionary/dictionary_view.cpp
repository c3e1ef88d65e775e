#include "dictionary/dictionary_view.h"

#include "dictionary/dic_index.h"

#include <cstring>

namespace yomi6 {

int DictionaryView::FirstMatch(const unsigned char* text) const {
    if (m_index == nullptr) {
        return m_firstMatch(text);
    }
    return m_lookup == DicLookup::Indexed ? m_index->FirstMatch(text)
                                          : m_index->LinearFirstMatch(text);
}

int DictionaryView::FirstUserMatch(const unsigned char* text) const {
    if (m_index == nullptr) {
        return m_firstUserMatch(text);
    }
    return m_lookup == DicLookup::Indexed ? m_index->FirstUserMatch(text)
                                          : m_index->LinearFirstUserMatch(text);
}

std::string_view DictionaryView::Word(int slot) const {
    return {m_words[slot], ::strnlen(m_words[slot], kWordSlotSize - 1)};
}

std::string_view DictionaryView::Reading(int slot) const {
    return {m_readings[slot], ::strnlen(m_readings[slot], kYomiSlotSize - 1)};
}

} // namespace yomi6
