#include "analysis/spoken_forms.h"

namespace yomi6 {

namespace {

// A word whose surface ends with `surface` and whose pronunciation ends with `heard` is read
// with `said` in place of that ending.
struct SpokenForm {
    std::string_view surface;
    std::string_view heard;
    std::string_view said;
};

constexpr SpokenForm kSpokenForms[] = {
    {"いう", "ユウ", "イウ"}, // IPADIC: という こういう
    {"いう", "ユー", "イウ"}, // UniDic: いう
    {"言う", "ユウ", "イウ"},     {"言う", "ユー", "イウ"}, {"云う", "ユウ", "イウ"},
    {"云う", "ユー", "イウ"},     {"言っ", "ユッ", "イッ"}, {"云っ", "ユッ", "イッ"},
    {"私", "ワタクシ", "ワタシ"},
};

bool EndsWith(std::string_view s, std::string_view end) {
    return s.size() >= end.size() && s.substr(s.size() - end.size()) == end;
}

} // namespace

void ApplySpokenForms(std::string_view surface, std::string& pronunciation) {
    for (const SpokenForm& form : kSpokenForms) {
        if (EndsWith(surface, form.surface) && EndsWith(pronunciation, form.heard)) {
            pronunciation.replace(pronunciation.size() - form.heard.size(), form.heard.size(),
                                  form.said);
            return;
        }
    }
}

} // namespace yomi6
