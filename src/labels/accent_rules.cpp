#include "labels/accent_rules.h"

#include <algorithm>

namespace yomi6::labels {

const std::vector<OwnRule>& OwnRules() {
    static const std::vector<OwnRule> rules = {
        {"numbers", "a number and its counter are read as one word by the number rules, with an "
                    "accent by rule"},
        {"suru", "する and できる after a noun of action join its phrase: 勉強する keeps the "
                 "noun's accent, a flat noun takes できる's (合格できる)"},
        {"formal-noun", "の after a verb, an adjective or an auxiliary joins its phrase; こと, "
                        "もの, わけ ... join it when it is flat, with their own nucleus"},
        {"te-auxiliary", "いる, しまう, おく, くる ... after a て form join its phrase, its "
                         "accent kept (ください does not)"},
    };
    return rules;
}

AccentRules AccentRules::All() {
    AccentRules r;
    for (const OwnRule& rule : OwnRules()) {
        r.m_enabled.emplace_back(rule.name);
    }
    return r;
}

AccentRules AccentRules::None() {
    return {};
}

bool AccentRules::Parse(std::string_view text, AccentRules& out, std::string& error) {
    if (text == "all") {
        out = All();
        return true;
    }
    if (text == "none") {
        out = None();
        return true;
    }
    AccentRules r;
    bool removing = false;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        std::string_view name = text.substr(start, comma - start);
        start = comma + 1;
        const bool minus = !name.empty() && name.front() == '-';
        if (minus) {
            name.remove_prefix(1);
            if (!removing) {
                r = r.m_enabled.empty() ? All() : r;
                removing = true;
            }
        }
        const auto& rules = OwnRules();
        if (std::none_of(rules.begin(), rules.end(),
                         [&](const OwnRule& rule) { return rule.name == name; })) {
            error = "no accent rule is named '" + std::string(name) + "'";
            return false;
        }
        if (minus) {
            r.m_enabled.erase(std::remove(r.m_enabled.begin(), r.m_enabled.end(), name),
                              r.m_enabled.end());
        } else if (!r.Has(name)) {
            r.m_enabled.emplace_back(name);
        }
    }
    out = r;
    return true;
}

bool AccentRules::Has(std::string_view name) const {
    return std::find(m_enabled.begin(), m_enabled.end(), name) != m_enabled.end();
}

} // namespace yomi6::labels
