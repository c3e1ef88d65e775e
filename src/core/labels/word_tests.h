// Tests on a label word that the rules of labels/ share: its part of speech, its base form.
#pragma once

#include "labels/label_word.h"

#include <initializer_list>
#include <string_view>

namespace yomi6::labels {

inline bool Is(const LabelWord& w, std::string_view pos) {
    return w.pos == pos;
}

inline bool Is(const LabelWord& w, std::string_view pos, std::string_view pos1) {
    return w.pos == pos && w.pos1 == pos1;
}

inline bool IsOneOf(std::string_view text, std::initializer_list<std::string_view> list) {
    for (const std::string_view item : list) {
        if (text == item) {
            return true;
        }
    }
    return false;
}

// The particle て (で) of a verb's て form.
inline bool IsTe(const LabelWord& w) {
    return Is(w, "助詞", "接続助詞") && (w.surface == "て" || w.surface == "で");
}

// A verb, an adjective or an auxiliary: a word a formal noun or an auxiliary may follow.
inline bool IsPredicate(const LabelWord& w) {
    return Is(w, "動詞") || Is(w, "形容詞") || Is(w, "助動詞");
}

// The honorific prefix お or ご (御), as said.
inline bool IsHonorificPrefix(const LabelWord& w) {
    return Is(w, "接頭詞", "名詞接続") && IsOneOf(w.surface, {"お", "ご", "御"}) &&
           IsOneOf(w.pronunciation, {"オ", "ゴ"});
}

} // namespace yomi6::labels
