// This program's own accent rules, beside the classic rules of the stages: each has a name, and
// each can be left out, so that the labels can be made as the classic rules alone make them
// and every own rule measured by itself (yomi6 --labels --accent-rules).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace yomi6::labels {

struct OwnRule {
    std::string_view name;
    std::string_view what; // one line: what the rule does
};

// Every own rule, in the order the stages apply them.
const std::vector<OwnRule>& OwnRules();

// Which own rules apply.
class AccentRules {
public:
    static AccentRules All();  // every own rule
    static AccentRules None(); // the classic rules alone
    // "all", "none", or names separated by commas ("suru,formal-noun"); a name may be prefixed
    // with - to leave it out of all ("-suru"). Nothing, with the unknown name in error, when a
    // name is no rule's.
    static bool Parse(std::string_view text, AccentRules& out, std::string& error);

    bool Has(std::string_view name) const;

private:
    std::vector<std::string> m_enabled;
};

} // namespace yomi6::labels
