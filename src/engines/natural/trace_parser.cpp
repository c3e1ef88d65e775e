#include "natural/trace_parser.h"

#include "text/utf8_codec.h"

#include <charconv>

namespace yomi6::natural {

namespace {

std::vector<std::string_view> Split(std::string_view s, char sep) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = s.find(sep, start);
        parts.push_back(
            s.substr(start, at == std::string_view::npos ? s.size() - start : at - start));
        if (at == std::string_view::npos) {
            return parts;
        }
        start = at + 1;
    }
}

bool ParseInt(std::string_view s, std::int64_t& value) {
    const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    return !s.empty() && ec == std::errc() && ptr == s.data() + s.size();
}

// The text of the section that starts after the line "[name]", up to the next "[" line.
std::optional<std::string_view> Section(std::string_view text, std::string_view name) {
    const std::string head = "[" + std::string(name) + "]";
    std::size_t at = text.find(head);
    if (at == std::string_view::npos || (at != 0 && text[at - 1] != '\n')) {
        return std::nullopt;
    }
    at += head.size();
    std::size_t end = at;
    while (end < text.size()) {
        const std::size_t nl = text.find('\n', end);
        if (nl == std::string_view::npos) {
            end = text.size();
            break;
        }
        end = nl + 1;
        if (end < text.size() && text[end] == '[') {
            break;
        }
    }
    return text.substr(at, end - at);
}

std::string StripAccentMarks(std::string_view pron) {
    std::string out;
    static constexpr std::string_view kMark = "’"; // the accent nucleus mark
    for (std::size_t i = 0; i < pron.size();) {
        if (pron.substr(i, kMark.size()) == kMark) {
            i += kMark.size();
        } else {
            out.push_back(pron[i++]);
        }
    }
    return out;
}

bool IsVowel(std::string_view p) {
    return p.size() == 1 && std::string_view("aiueoAIUEO").find(p[0]) != std::string_view::npos;
}

// The phoneme of a label: what lies between '-' and '+' in "p1^p2-p3+p4=p5/A:...".
std::optional<std::string_view> CentrePhoneme(std::string_view label) {
    const std::size_t minus = label.find('-');
    const std::size_t plus = minus == std::string_view::npos ? minus : label.find('+', minus);
    if (plus == std::string_view::npos || plus == minus + 1) {
        return std::nullopt;
    }
    return label.substr(minus + 1, plus - minus - 1);
}

std::optional<Trace> Fail(std::string* error, std::string what) {
    if (error != nullptr) {
        *error = std::move(what);
    }
    return std::nullopt;
}

} // namespace

std::vector<std::string> SplitMorae(std::string_view pronunciation) {
    static constexpr std::string_view kSmall[] = {"ャ", "ュ", "ョ", "ァ", "ィ",
                                                  "ゥ", "ェ", "ォ", "ヮ"};
    std::vector<std::string> morae;
    for (std::size_t i = 0; i < pronunciation.size();) {
        const std::size_t n = Utf8Step(pronunciation.substr(i));
        const std::string_view ch = pronunciation.substr(i, n);
        bool small = false;
        for (const std::string_view s : kSmall) {
            small = small || ch == s;
        }
        if (small && !morae.empty()) {
            morae.back() += ch;
        } else {
            morae.emplace_back(ch);
        }
        i += n;
    }
    return morae;
}

std::optional<Trace> ParseTrace(std::string_view text, std::string* error) {
    const auto analysis = Section(text, "Text analysis result");
    const auto labels = Section(text, "Output label");
    if (!analysis || !labels) {
        return Fail(error, "the engine's trace has no text analysis or no labels");
    }
    Trace trace;
    for (std::string_view line : Split(*analysis, '\n')) {
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty()) {
            continue;
        }
        // The surface may itself be a comma: the fields are counted from the end.
        const auto fields = Split(line, ',');
        if (fields.size() < 13) {
            return Fail(error, "a morpheme line of the trace has too few fields");
        }
        const std::size_t k = fields.size() - 13;
        Morpheme m;
        for (std::size_t f = 0; f <= k; ++f) {
            if (f != 0) {
                m.surface += ',';
            }
            m.surface += fields[f];
        }
        m.partOfSpeech = std::string(fields[k + 1]) + "," + std::string(fields[k + 2]);
        m.pronunciation = StripAccentMarks(fields[k + 9]);
        const auto accent = Split(fields[k + 10], '/');
        std::int64_t count = 0;
        if (accent.size() != 2 || !ParseInt(accent[1], count) || count < 0 || count > 1000) {
            return Fail(error, "a morpheme line of the trace has no mora count");
        }
        m.morae = static_cast<int>(count);
        trace.morphemes.push_back(std::move(m));
    }
    std::string pending; // consonants waiting for their vowel
    std::int64_t pendingStart = 0;
    std::int64_t lastEnd = 0;
    for (std::string_view line : Split(*labels, '\n')) {
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty()) {
            continue;
        }
        const auto fields = Split(line, ' ');
        std::int64_t start = 0, end = 0;
        if (fields.size() != 3 || !ParseInt(fields[0], start) || !ParseInt(fields[1], end)) {
            return Fail(error, "a label line of the trace has no start and end time");
        }
        if (start < lastEnd || end < start) {
            return Fail(error, "the label times of the trace go backwards");
        }
        if (end > kMaxLabelTime) {
            return Fail(error, "a label time of the trace lies past an hour");
        }
        lastEnd = end;
        const auto phoneme = CentrePhoneme(fields[2]);
        if (!phoneme) {
            return Fail(error, "a label of the trace names no phoneme");
        }
        if (*phoneme == "sil" || *phoneme == "pau") {
            if (!pending.empty()) {
                return Fail(error, "a consonant of the trace has no vowel");
            }
            trace.morae.push_back({std::string(*phoneme), start, end, true});
            continue;
        }
        if (pending.empty()) {
            pendingStart = start;
        } else {
            pending += ' ';
        }
        pending += *phoneme;
        if (IsVowel(*phoneme) || *phoneme == "N" || *phoneme == "cl") {
            trace.morae.push_back({std::move(pending), pendingStart, end, false});
            pending.clear();
        }
    }
    if (!pending.empty()) {
        return Fail(error, "the trace ends inside a mora");
    }
    if (trace.morae.empty()) {
        return Fail(error, "the trace has no labels");
    }
    return trace;
}

} // namespace yomi6::natural
