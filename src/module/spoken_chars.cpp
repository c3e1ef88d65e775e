#include "module/spoken_chars.h"

#include "analysis/analyzer.h"
#include "text/utf8_codec.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace yomi6::module {

namespace {

struct MarkName {
    std::string_view mark;
    std::string_view name;
    PunctuationMode least; // the least mode that says it
    bool pause;            // it ends a phrase: kept after its name
};

// The marks said by name, with the levels the sound server gives them by default.
constexpr MarkName kMarks[] = {
    {"。", "まる", PunctuationMode::All, true},
    {"、", "てん", PunctuationMode::All, true},
    {"，", "カンマ", PunctuationMode::All, true},
    {",", "カンマ", PunctuationMode::All, true},
    {"．", "ピリオド", PunctuationMode::Some, true},
    {".", "ピリオド", PunctuationMode::Some, true},
    {"？", "はてな", PunctuationMode::All, true},
    {"?", "はてな", PunctuationMode::All, true},
    {"！", "びっくり", PunctuationMode::All, true},
    {"!", "びっくり", PunctuationMode::All, true},
    {"…", "てんてんてん", PunctuationMode::All, true},
    {"‥", "てんてん", PunctuationMode::All, true},
    {"：", "コロン", PunctuationMode::Most, true},
    {":", "コロン", PunctuationMode::Most, true},
    {"；", "セミコロン", PunctuationMode::Most, true},
    {";", "セミコロン", PunctuationMode::Most, true},
    {"・", "なかぐろ", PunctuationMode::Most, false},
    {"「", "かぎかっこ", PunctuationMode::Most, false},
    {"」", "かぎかっことじ", PunctuationMode::Most, false},
    {"『", "にじゅうかぎかっこ", PunctuationMode::Most, false},
    {"』", "にじゅうかぎかっことじ", PunctuationMode::Most, false},
    {"（", "かっこ", PunctuationMode::Most, false},
    {"(", "かっこ", PunctuationMode::Most, false},
    {"）", "かっことじ", PunctuationMode::Most, false},
    {")", "かっことじ", PunctuationMode::Most, false},
    {"［", "かくかっこ", PunctuationMode::Most, false},
    {"[", "かくかっこ", PunctuationMode::Most, false},
    {"］", "かくかっことじ", PunctuationMode::Most, false},
    {"]", "かくかっことじ", PunctuationMode::Most, false},
    {"｛", "なみかっこ", PunctuationMode::Most, false},
    {"{", "なみかっこ", PunctuationMode::Most, false},
    {"｝", "なみかっことじ", PunctuationMode::Most, false},
    {"}", "なみかっことじ", PunctuationMode::Most, false},
    {"【", "すみつきかっこ", PunctuationMode::Most, false},
    {"】", "すみつきかっことじ", PunctuationMode::Most, false},
    {"\"", "ダブルクォート", PunctuationMode::Most, false},
    {"”", "ダブルクォート", PunctuationMode::Most, false},
    {"“", "ダブルクォート", PunctuationMode::Most, false},
    {"'", "アポストロフィ", PunctuationMode::All, false},
    {"-", "ハイフン", PunctuationMode::Most, false},
    {"－", "ハイフン", PunctuationMode::Most, false},
    {"_", "アンダーバー", PunctuationMode::Most, false},
    {"＿", "アンダーバー", PunctuationMode::Most, false},
    {"~", "チルダ", PunctuationMode::Most, false},
    {"～", "なみせん", PunctuationMode::Most, false},
    {"^", "キャレット", PunctuationMode::Most, false},
    {"|", "たてせん", PunctuationMode::Most, false},
    {"｜", "たてせん", PunctuationMode::Most, false},
    {"`", "バッククォート", PunctuationMode::Most, false},
    {"\\", "バックスラッシュ", PunctuationMode::Most, false},
    {"#", "シャープ", PunctuationMode::Some, false},
    {"＃", "シャープ", PunctuationMode::Some, false},
    {"%", "パーセント", PunctuationMode::Some, false},
    {"％", "パーセント", PunctuationMode::Some, false},
    {"&", "アンド", PunctuationMode::Some, false},
    {"＆", "アンド", PunctuationMode::Some, false},
    {"*", "アスタリスク", PunctuationMode::Some, false},
    {"＊", "アスタリスク", PunctuationMode::Some, false},
    {"@", "アット", PunctuationMode::Some, false},
    {"＠", "アット", PunctuationMode::Some, false},
    {"/", "スラッシュ", PunctuationMode::Some, false},
    {"／", "スラッシュ", PunctuationMode::Some, false},
    {"+", "プラス", PunctuationMode::Some, false},
    {"＋", "プラス", PunctuationMode::Some, false},
    {"=", "イコール", PunctuationMode::Some, false},
    {"＝", "イコール", PunctuationMode::Some, false},
    {"<", "しょうなり", PunctuationMode::Some, false},
    {"＜", "しょうなり", PunctuationMode::Some, false},
    {">", "だいなり", PunctuationMode::Some, false},
    {"＞", "だいなり", PunctuationMode::Some, false},
    {"×", "かける", PunctuationMode::Some, false},
    {"÷", "わる", PunctuationMode::Some, false},
    {"$", "ドル", PunctuationMode::All, false},
    {"＄", "ドル", PunctuationMode::All, false},
    {"￥", "えん", PunctuationMode::All, false},
    {"¥", "えん", PunctuationMode::All, false},
    {"€", "ユーロ", PunctuationMode::All, false},
    {"£", "ポンド", PunctuationMode::All, false},
};

const MarkName* MarkOf(std::string_view character) {
    const auto* found = std::find_if(std::begin(kMarks), std::end(kMarks),
                                     [&](const MarkName& m) { return m.mark == character; });
    return found != std::end(kMarks) ? found : nullptr;
}

// The characters of well-formed UTF-8 text, each as its bytes and code point.
struct Character {
    std::string_view bytes;
    char32_t cp = 0;
};

std::vector<Character> CharactersOf(std::string_view text) {
    std::vector<Character> out;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t n = Utf8SequenceLength(bytes + at, text.size() - at);
        char32_t cp = 0;
        if (n == 0) {
            n = 1;
            cp = 0xFFFD;
        } else if (n == 1) {
            cp = bytes[at];
        } else {
            cp = bytes[at] & (0xFF >> (n + 1));
            for (std::size_t i = 1; i < n; ++i) {
                cp = (cp << 6) | (bytes[at + i] & 0x3F);
            }
        }
        out.push_back({text.substr(at, n), cp});
        at += n;
    }
    return out;
}

bool IsKanji(char32_t c) {
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3FFFF) || c == 0x3005;
}

// Kana, Latin letters and digits (full width too): said as themselves.
bool IsSaidAsItself(char32_t c) {
    const bool ascii =
        (c >= U'0' && c <= U'9') || (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z');
    const bool wide = (c >= 0xFF10 && c <= 0xFF19) || (c >= 0xFF21 && c <= 0xFF3A) ||
                      (c >= 0xFF41 && c <= 0xFF5A);
    const bool kana = (c >= 0x3041 && c <= 0x3096) || (c >= 0x30A1 && c <= 0x30FA) || c == 0x30FC ||
                      (c >= 0xFF66 && c <= 0xFF9D);
    return ascii || wide || kana;
}

bool IsBlank(char32_t c) {
    return c == U' ' || c == U'\t' || c == 0x3000 || c == 0xA0;
}

bool IsDigit(char32_t c) {
    return (c >= U'0' && c <= U'9') || (c >= 0xFF10 && c <= 0xFF19);
}

// The reading of a kanji said alone, as the analyzer gives it for the one word it makes.
std::string KanjiReading(std::string_view kanji, Analyzer* analyzer) {
    std::vector<AnalyzedWord> words;
    if (analyzer == nullptr || !analyzer->Analyze(kanji, words) || words.size() != 1 ||
        words[0].begin != 0 || words[0].end != kanji.size()) {
        return {};
    }
    return words[0].pronunciation;
}

} // namespace

PunctuationMode PunctuationModeOf(std::string_view value) {
    return value == "none"   ? PunctuationMode::None
           : value == "most" ? PunctuationMode::Most
           : value == "all"  ? PunctuationMode::All
                             : PunctuationMode::Some;
}

std::string CharName(std::string_view character, Analyzer* analyzer) {
    const std::vector<Character> chars = CharactersOf(character);
    if (chars.size() != 1) {
        return std::string(character);
    }
    const char32_t c = chars[0].cp;
    if (const MarkName* mark = MarkOf(character); mark != nullptr) {
        return std::string(mark->name);
    }
    if (IsSaidAsItself(c)) {
        return std::string(character);
    }
    if (IsBlank(c)) {
        return "スペース";
    }
    if (IsKanji(c)) {
        const std::string reading = KanjiReading(character, analyzer);
        return reading.empty() ? "かんじ" : reading;
    }
    return "きごう";
}

std::string SpelledText(std::string_view text, Analyzer* analyzer) {
    std::string out;
    for (const Character& c : CharactersOf(text)) {
        if (c.cp == U'\n' || c.cp == U'\r') {
            continue;
        }
        if (!out.empty()) {
            out += "、";
        }
        out += CharName(c.bytes, analyzer);
    }
    return out;
}

std::string NamedPunctuation(std::string_view text, PunctuationMode mode) {
    if (mode == PunctuationMode::None) {
        return std::string(text);
    }
    const std::vector<Character> chars = CharactersOf(text);
    std::string out;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        const MarkName* mark = MarkOf(chars[i].bytes);
        const bool inNumber = (chars[i].cp == U'.' || chars[i].cp == U',') && i > 0 &&
                              i + 1 < chars.size() && IsDigit(chars[i - 1].cp) &&
                              IsDigit(chars[i + 1].cp);
        if (mark == nullptr || mark->least > mode || inNumber) {
            out += chars[i].bytes;
            continue;
        }
        out += mark->name;
        out += mark->pause ? chars[i].bytes : std::string_view(" ");
    }
    return out;
}

} // namespace yomi6::module
