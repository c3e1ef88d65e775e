#include "analysis/feature_layout.h"

#include <charconv>
#include <optional>

namespace yomi6 {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::optional<std::size_t> IndexAt(std::string_view text) {
    std::size_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end == text.data() || end == text.data() + text.size() ||
        *end != ']') {
        return std::nullopt;
    }
    return value;
}

// The field a format names as "name:%f[N]" (the verbose output formats of UniDic's dicrc).
std::optional<std::size_t> FormatField(std::string_view dicrc, std::string_view name) {
    const std::string key = std::string(name) + ":%f[";
    for (std::size_t at = dicrc.find(key); at != std::string_view::npos;
         at = dicrc.find(key, at + 1)) {
        // The name must stand alone ("pron:", not "xpron:"); in a format it follows a blank, an
        // equals sign or a written tab ("\t"). The key itself excludes "pronBase:".
        const char before = at > 0 ? dicrc[at - 1] : ' ';
        const bool wordChar = (before >= 'a' && before <= 'z') ||
                              (before >= 'A' && before <= 'Z') ||
                              (before >= '0' && before <= '9') || before == '_';
        const bool afterTab = at >= 2 && dicrc.substr(at - 2, 2) == "\\t";
        if (!wordChar || afterTab) {
            if (const auto index = IndexAt(dicrc.substr(at + key.size()))) {
                return index;
            }
        }
    }
    return std::nullopt;
}

// The field a comment line names as "; f[N]: name".
std::optional<std::size_t> CommentField(std::string_view dicrc, std::string_view name) {
    std::size_t lineStart = 0;
    while (lineStart < dicrc.size()) {
        std::size_t lineEnd = dicrc.find('\n', lineStart);
        if (lineEnd == std::string_view::npos) {
            lineEnd = dicrc.size();
        }
        std::string_view line = dicrc.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        if (line.empty() || line.front() != ';') {
            continue;
        }
        line.remove_prefix(1);
        while (!line.empty() && IsBlank(line.front())) {
            line.remove_prefix(1);
        }
        if (line.substr(0, 2) != "f[") {
            continue;
        }
        const auto index = IndexAt(line.substr(2));
        const std::size_t close = line.find("]:");
        if (!index || close == std::string_view::npos) {
            continue;
        }
        std::string_view rest = line.substr(close + 2);
        while (!rest.empty() && IsBlank(rest.front())) {
            rest.remove_prefix(1);
        }
        while (!rest.empty() && (IsBlank(rest.back()) || rest.back() == '\r')) {
            rest.remove_suffix(1);
        }
        if (rest == name) {
            return index;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> NamedField(std::string_view dicrc, std::string_view name) {
    if (const auto index = FormatField(dicrc, name)) {
        return index;
    }
    return CommentField(dicrc, name);
}

} // namespace

FeatureLayout FeatureLayoutOf(std::string_view dicrc) {
    FeatureLayout layout;
    // The accent fields of the Open JTalk dictionary are named by the dicrc this program writes
    // for it (mecab_analyzer.cpp), UniDic's by its own.
    layout.accent = NamedField(dicrc, "accent");
    layout.accentRule = NamedField(dicrc, "accentRule");
    layout.chainFlag = NamedField(dicrc, "chainFlag");
    layout.accentType = NamedField(dicrc, "aType");
    layout.accentConnection = NamedField(dicrc, "aConType");
    layout.accentModification = NamedField(dicrc, "aModType");
    const auto pronunciation = NamedField(dicrc, "pron");
    if (!pronunciation) {
        return layout; // IPADIC and NAIST-jdic name none of their fields
    }
    layout.pronunciation = *pronunciation;
    layout.partOfSpeech = NamedField(dicrc, "pos1").value_or(0);
    layout.subdivision = NamedField(dicrc, "pos2").value_or(1);
    layout.conjugationForm = NamedField(dicrc, "cForm").value_or(5);
    layout.subdivision2 = NamedField(dicrc, "pos3").value_or(2);
    layout.subdivision3 = NamedField(dicrc, "pos4").value_or(3);
    layout.conjugationType = NamedField(dicrc, "cType").value_or(4);
    layout.baseForm = NamedField(dicrc, "lemma").value_or(6);
    return layout;
}

std::vector<std::string> SplitFeature(std::string_view feature, std::size_t maxFields) {
    std::vector<std::string> fields;
    std::size_t i = 0;
    while (fields.size() < maxFields) {
        std::string field;
        if (i < feature.size() && feature[i] == '"') {
            ++i;
            while (i < feature.size()) {
                if (feature[i] == '"') {
                    if (i + 1 < feature.size() && feature[i + 1] == '"') {
                        field.push_back('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field.push_back(feature[i++]);
            }
            // Whatever stands between the closing quote and the next comma belongs to the field.
        }
        const std::size_t comma = feature.find(',', i);
        field.append(feature.substr(i, comma == std::string_view::npos ? std::string_view::npos
                                                                       : comma - i));
        fields.push_back(std::move(field));
        if (comma == std::string_view::npos) {
            break;
        }
        i = comma + 1;
    }
    return fields;
}

} // namespace yomi6
