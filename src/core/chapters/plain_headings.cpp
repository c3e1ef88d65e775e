#include "chapters/plain_headings.h"

namespace yomi6::headings {

namespace {

struct Counter {
    char16_t c;
    int level;
};

constexpr Counter kCounters[] = {
    {u'部', 1}, {u'編', 1}, {u'巻', 1}, {u'章', 2}, {u'話', 2},
    {u'回', 2}, {u'幕', 2}, {u'夜', 2}, {u'節', 3},
};

constexpr std::u16string_view kHeadingWords[] = {
    u"序章",     u"終章",     u"プロローグ", u"エピローグ", u"まえがき",
    u"あとがき", u"はじめに", u"おわりに",   u"序",         u"跋",
};

constexpr std::u16string_view kKanjiNumerals = u"〇一二三四五六七八九十百千";
constexpr std::u16string_view kSceneSigns = u"＊*※◇◆☆★●○◎";
constexpr std::size_t kMaxChapterLine = 40;
constexpr std::size_t kMaxNumberLine = 4;
constexpr std::size_t kMinSceneSigns = 3;

bool IsNumeral(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'０' && c <= u'９') ||
           kKanjiNumerals.find(c) != std::u16string_view::npos;
}

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\u3000';
}

std::optional<int> CounterLevel(char16_t c) {
    for (const Counter& counter : kCounters) {
        if (counter.c == c) {
            return counter.level;
        }
    }
    return std::nullopt;
}

// 第 + number + counter, then the end or a blank and a title.
std::optional<int> ChapterNumberLevel(std::u16string_view text) {
    if (text.size() > kMaxChapterLine || !text.starts_with(u'第') ||
        text.find(u'。') != std::u16string_view::npos) {
        return std::nullopt;
    }
    std::size_t i = 1;
    while (i < text.size() && IsNumeral(text[i])) {
        ++i;
    }
    if (i == 1 || i >= text.size()) {
        return std::nullopt;
    }
    const std::optional<int> level = CounterLevel(text[i]);
    if (!level || (i + 1 < text.size() && !IsBlank(text[i + 1]))) {
        return std::nullopt;
    }
    return level;
}

bool IsNumberLine(std::u16string_view text) {
    if (!text.empty() && (text.back() == u'、' || text.back() == u'．' || text.back() == u'.')) {
        text.remove_suffix(1);
    }
    if (text.empty() || text.size() > kMaxNumberLine) {
        return false;
    }
    for (const char16_t c : text) {
        if (!IsNumeral(c)) {
            return false;
        }
    }
    return true;
}

bool IsSceneBreak(std::u16string_view text) {
    std::size_t signs = 0;
    for (const char16_t c : text) {
        if (kSceneSigns.find(c) != std::u16string_view::npos) {
            ++signs;
        } else if (!IsBlank(c)) {
            return false;
        }
    }
    return signs >= kMinSceneSigns;
}

} // namespace

std::optional<Chapter> PlainHeading(const Line& line) {
    const std::u16string_view text = TrimBlanks(line.text);
    if (text.empty()) {
        return std::nullopt;
    }
    const std::u16string title(text);
    if (const std::optional<int> level = ChapterNumberLevel(text)) {
        return Chapter{*level, line.begin, title};
    }
    for (const std::u16string_view word : kHeadingWords) {
        if (text == word) {
            return Chapter{2, line.begin, title};
        }
    }
    if (IsNumberLine(text)) {
        return Chapter{2, line.begin, title};
    }
    if (IsSceneBreak(text)) {
        return Chapter{3, line.begin, title};
    }
    return std::nullopt;
}

std::vector<Chapter> PlainHeadings(const std::vector<Line>& lines) {
    std::vector<Chapter> chapters;
    for (const Line& line : lines) {
        if (std::optional<Chapter> chapter = PlainHeading(line)) {
            chapters.push_back(std::move(*chapter));
        }
    }
    return chapters;
}

} // namespace yomi6::headings
