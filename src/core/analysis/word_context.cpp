#include "analysis/word_context.h"

#include "text/char_classes.h"
#include "text/utf8_codec.h"

#include <array>
#include <span>
#include <string>

namespace yomi6 {

namespace {

constexpr std::string_view kRise = "上";
constexpr std::string_view kClimbing = "ノボ"; // のぼる
constexpr std::string_view kRising = "アガ";   // あがる

struct Neighbours {
    std::string_view text;
    const std::vector<AnalyzedWord>& words;

    std::string_view Surface(std::size_t i) const {
        const AnalyzedWord& w = words[i];
        return w.end <= text.size() && w.begin <= w.end ? text.substr(w.begin, w.end - w.begin)
                                                        : std::string_view();
    }
    // The word before i when it touches it (no blank between).
    const AnalyzedWord* Before(std::size_t i) const {
        return i > 0 && words[i - 1].end == words[i].begin ? &words[i - 1] : nullptr;
    }
    const AnalyzedWord* After(std::size_t i) const {
        return i + 1 < words.size() && words[i + 1].begin == words[i].end ? &words[i + 1] : nullptr;
    }
};

bool IsPlainNoun(const AnalyzedWord& w) {
    return w.partOfSpeech == "名詞" &&
           (w.subdivision == "一般" || w.subdivision == "普通名詞" || w.subdivision == "固有名詞");
}

// A verb, adjective or auxiliary in the form that stands before a noun (基本形 in IPADIC's
// names, 連体形 in UniDic's).
bool IsAttributive(const AnalyzedWord& w) {
    const bool inflects =
        w.partOfSpeech == "動詞" || w.partOfSpeech == "形容詞" || w.partOfSpeech == "助動詞";
    return inflects && (w.conjugation == "基本形" || w.conjugation.starts_with("連体形"));
}

bool IsStemOfVerb(const AnalyzedWord& w) {
    return w.partOfSpeech == "動詞" && w.conjugation.starts_with("連用");
}

// Whether the word before i makes a 間 at i a span: の (not after a count of mats), a
// demonstrative, or an attributive verb or adjective.
bool SpanBefore(const Neighbours& n, std::size_t i) {
    const AnalyzedWord* before = n.Before(i);
    if (before == nullptr) {
        return false;
    }
    if (before->partOfSpeech == "助詞" && n.Surface(i - 1) == "の") {
        return true;
    }
    return before->partOfSpeech == "連体詞" || IsAttributive(*before);
}

// Whether 間 at i follows a count of mats and の: a room (八畳の間).
bool RoomBefore(const Neighbours& n, std::size_t i) {
    return i >= 2 && n.Surface(i - 1) == "の" && n.Surface(i - 2).ends_with("畳");
}

// Whether 間 at i stands in 間もない or 間もなく, "no time to", "soon": ま.
bool NoTimeAfter(const Neighbours& n, std::size_t i) {
    return n.After(i) != nullptr && n.Surface(i + 1) == "も" && n.After(i + 1) != nullptr &&
           (n.Surface(i + 2).starts_with("な") || n.Surface(i + 2).starts_with("無"));
}

void ReadSpan(const Neighbours& n, std::size_t i, AnalyzedWord& w) {
    const std::string_view s = n.Surface(i);
    if (s == "間" && (RoomBefore(n, i) || NoTimeAfter(n, i))) {
        w.pronunciation = "マ";
        return;
    }
    if ((s == "間" || s == "間中") && SpanBefore(n, i)) {
        w.pronunciation = s == "間" ? "アイダ" : "アイダジュウ";
        return;
    }
    // IPADIC's one word この間 コノカン.
    for (const std::string_view demonstrative : {"この", "その", "あの"}) {
        if (s.size() == demonstrative.size() + std::string_view("間").size() &&
            s.starts_with(demonstrative) && s.ends_with("間")) {
            for (const std::string_view said : {"カン", "マ"}) {
                if (w.pronunciation.ends_with(said)) {
                    w.pronunciation.replace(w.pronunciation.size() - said.size(), said.size(),
                                            "アイダ");
                    return;
                }
            }
        }
    }
}

void ReadRise(const Neighbours& n, std::size_t i, AnalyzedWord& w) {
    const std::string_view s = n.Surface(i);
    const std::size_t rise = s.find(kRise);
    const std::size_t climb = w.pronunciation.find(kClimbing);
    if (rise == std::string_view::npos || climb == std::string::npos) {
        return;
    }
    const AnalyzedWord* before = n.Before(i);
    const bool afterStem = rise == 0 && climb == 0 && before != nullptr && IsStemOfVerb(*before);
    const bool compound = rise > 0 && climb > 0 && w.partOfSpeech == "動詞";
    if (afterStem || compound) {
        w.pronunciation.replace(climb, kClimbing.size(), kRising);
    }
}

// Whether the word is a verb's stem (連用形), or a noun made of one (歩き, 待ち: kanji and one
// kana of the i row).
bool IsVerbStemOrItsNoun(std::string_view surface, const AnalyzedWord& w) {
    if (IsStemOfVerb(w)) {
        return true;
    }
    static constexpr std::string_view kIRow[] = {"い", "き", "ぎ", "し", "じ", "ち",
                                                 "に", "ひ", "び", "み", "り"};
    if (w.partOfSpeech != "名詞") {
        return false;
    }
    for (const std::string_view kana : kIRow) {
        if (surface.ends_with(kana)) {
            // A kanji before it, not any byte (a word of one kana and ASCII before is shorter).
            const std::string_view rest = surface.substr(0, surface.size() - kana.size());
            return rest.size() >= 3 &&
                   IsKanji(FirstUtf8Char(rest.substr(rest.size() - 3)).codePoint);
        }
    }
    return false;
}

// Whether the word at i is a measure of size: 長さ 広さ 高さ 深さ 厚さ (an adjective's stem and
// さ), 幅, 丈.
bool IsMeasureOfSize(const Neighbours& n, std::size_t i) {
    const std::string_view s = n.Surface(i);
    return s == "幅" || s == "丈" ||
           (s == "さ" && i > 0 && n.words[i - 1].partOfSpeech == "形容詞");
}

bool IsParticle(const Neighbours& n, std::size_t i, std::string_view which) {
    return i < n.words.size() && n.words[i].partOfSpeech == "助詞" &&
           which.find(n.Surface(i)) != std::string_view::npos;
}

// How a row of a table of readings matches a word.
enum class Match {
    kWord,  // the surface is `surface` and the pronunciation one of `said`: it becomes `reads`
    kStart, // the surface starts with `surface`, the pronunciation with one of `said`: that start
            // becomes `reads`
    kWordSaidStart, // the surface is `surface`, the pronunciation starts with one of `said`: that
                    // start becomes `reads` (日本人 ニッポンジン)
};

// The `particles` of a row that any particle touching the word from after meets.
constexpr std::string_view kAnyParticle = "*";

// A reading that a word takes from the words beside it. The readings are rows of tables, one
// for each step of ApplyWordContext, and the first row of a table that matches wins. To add a
// word: one row {surface, Match, {readings it replaces}, condition, particles after it or "",
// new reading} where its neighbours are asked, its example in a comment; a new condition is a
// small function with the signature of `when`, named for what it asks of the neighbours. A row
// with readings that need different conditions is two rows.
struct ContextReading {
    std::string_view surface;
    Match match;
    std::array<std::string_view, 4> said; // the dictionary's readings it replaces ("": none)
    bool (*when)(const Neighbours& n, std::size_t i, const AnalyzedWord& w); // the neighbours
    // One of these particles touches it from after ("": any word or none; kAnyParticle: any
    // particle).
    std::string_view particles;
    std::string_view reads;
};

// The length of the start of said that row replaces, or npos when row does not match.
std::size_t Replaced(const ContextReading& row, std::string_view surface, std::string_view said) {
    const bool wholeSurface = row.match != Match::kStart;
    const bool wholeSaid = row.match == Match::kWord;
    if (wholeSurface ? surface != row.surface : !surface.starts_with(row.surface)) {
        return std::string_view::npos;
    }
    for (const std::string_view reading : row.said) {
        if (!reading.empty() && (wholeSaid ? said == reading : said.starts_with(reading))) {
            return reading.size();
        }
    }
    return std::string_view::npos;
}

// Whether the word after i is one of the particles the row asks for.
bool ParticleAfter(const ContextReading& row, const Neighbours& n, std::size_t i) {
    if (row.particles.empty()) {
        return true;
    }
    if (n.After(i) == nullptr) {
        return false;
    }
    return row.particles == kAnyParticle ? n.words[i + 1].partOfSpeech == "助詞"
                                         : IsParticle(n, i + 1, row.particles);
}

// Reads the word at i by the first row of rows that matches it; false when none does.
bool ReadByFirstRow(std::span<const ContextReading> rows, const Neighbours& n, std::size_t i,
                    AnalyzedWord& w) {
    const std::string_view s = n.Surface(i);
    for (const ContextReading& row : rows) {
        const std::size_t replaced = Replaced(row, s, w.pronunciation);
        if (replaced == std::string_view::npos || !ParticleAfter(row, n, i)) {
            continue;
        }
        if (row.when(n, i, w)) {
            w.pronunciation.replace(0, replaced, row.reads);
            return true;
        }
    }
    return false;
}

bool Always(const Neighbours& /*n*/, std::size_t /*i*/, const AnalyzedWord& /*w*/) {
    return true;
}

bool IsNoun(const Neighbours& /*n*/, std::size_t /*i*/, const AnalyzedWord& w) {
    return w.partOfSpeech == "名詞";
}

bool IsAPlainNoun(const Neighbours& /*n*/, std::size_t /*i*/, const AnalyzedWord& w) {
    return IsPlainNoun(w);
}

bool IsVerb(const Neighbours& /*n*/, std::size_t /*i*/, const AnalyzedWord& w) {
    return w.partOfSpeech == "動詞";
}

// Whether the word before i is not a noun (or there is none): the word stands alone.
bool NotAfterNoun(const Neighbours& n, std::size_t i, const AnalyzedWord& /*w*/) {
    const AnalyzedWord* before = n.Before(i);
    return before == nullptr || before->partOfSpeech != "名詞";
}

bool NounNotAfterNoun(const Neighbours& n, std::size_t i, const AnalyzedWord& w) {
    return IsPlainNoun(w) && NotAfterNoun(n, i, w);
}

// Whether a verb or an auxiliary (not an adjective) in the form that stands before a noun
// touches the word at i from before (休息する外に).
bool AfterAttributiveVerb(const Neighbours& n, std::size_t i, const AnalyzedWord& /*w*/) {
    const AnalyzedWord* before = n.Before(i);
    return before != nullptr && IsAttributive(*before) && before->partOfSpeech != "形容詞";
}

// Whether no number touches the word at i from before.
bool NotAfterNumber(const Neighbours& n, std::size_t i, const AnalyzedWord& /*w*/) {
    const AnalyzedWord* before = n.Before(i);
    return before == nullptr || !before->isNumeral;
}

// Whether the noun at i, not after a number, comes before a particle other than の.
bool NounNotAfterNumberNorBeforeNo(const Neighbours& n, std::size_t i, const AnalyzedWord& w) {
    return IsPlainNoun(w) && n.After(i) != nullptr && n.Surface(i + 1) != "の" &&
           NotAfterNumber(n, i, w);
}

bool AfterMeasureOfSize(const Neighbours& n, std::size_t i, const AnalyzedWord& /*w*/) {
    return n.Before(i) != nullptr && IsMeasureOfSize(n, i - 1);
}

// Whether a verb's stem, or a noun made of one, touches the word at i from after.
bool BeforeVerbStem(const Neighbours& n, std::size_t i, const AnalyzedWord& /*w*/) {
    return n.After(i) != nullptr && IsVerbStemOrItsNoun(n.Surface(i + 1), n.words[i + 1]);
}

// Whether the word before i (touching it or not) is を: the object of a verb.
bool AfterWo(const Neighbours& n, std::size_t i, const AnalyzedWord& /*w*/) {
    return i > 0 && n.Surface(i - 1) == "を";
}

bool NotAfterWo(const Neighbours& n, std::size_t i, const AnalyzedWord& w) {
    return !AfterWo(n, i, w);
}

// The readings that the words on both sides decide, before those of words standing alone
// (kStandingAlone).
constexpr ContextReading kByWordsBeside[] = {
    // After a verb, "other than": 休息する外に.
    {"外", Match::kWord, {"ソト"}, AfterAttributiveVerb, "", "ホカ"},
    // By itself, not after a noun: みやこ; と in compounds and after a name (東京都).
    {"都", Match::kWord, {"ト"}, NounNotAfterNoun, "", "ミヤコ"},
    // Money by itself, before a particle other than の (金の指輪: gold).
    {"金", Match::kWord, {"キン"}, NounNotAfterNumberNorBeforeNo, kAnyParticle, "カネ"},
    // Money, not after a number (三十銭: the unit).
    {"銭", Match::kWord, {"セン"}, NotAfterNumber, "", "ゼニ"},
    // A length after a measure of size: 長さ一寸, 幅一寸 (not ちょっと).
    {"一寸", Match::kWord, {"チョット"}, AfterMeasureOfSize, "", "イッスン"},
    // Before a verb's stem: 御待ち, 御歩き.
    {"御", Match::kWord, {"ゴ"}, BeforeVerbStem, "", "オ"},
    // The verb 行く unless it follows を: 行う takes an object (処理を行って).
    {"行っ", Match::kWord, {"オコナッ"}, NotAfterWo, "", "イッ"},
    {"行っ", Match::kWord, {"イッ"}, AfterWo, "", "オコナッ"},
};

// Whether the word at i is a kanji and one of が を に の は も, one word of the Open JTalk
// dictionary (光が).
bool KanjiWithParticle(const Neighbours& n, std::size_t i, const AnalyzedWord& /*w*/) {
    const std::string_view s = n.Surface(i);
    return s.size() == std::string_view("光が").size() &&
           std::string_view("がをにのはも").find(s.substr(3)) != std::string_view::npos;
}

// Whether the suffix at i comes after a verbal noun (拡張子), touching it or not.
bool SuffixAfterVerbalNoun(const Neighbours& n, std::size_t i, const AnalyzedWord& w) {
    return w.subdivision == "接尾" && i > 0 && n.words[i - 1].partOfSpeech == "名詞" &&
           n.words[i - 1].subdivision == "サ変接続";
}

// Whether the word before i (touching it or not) is neither その nor この (その他, この他).
bool NotAfterThisOrThat(const Neighbours& n, std::size_t i, const AnalyzedWord& /*w*/) {
    return i == 0 || (n.Surface(i - 1) != "その" && n.Surface(i - 1) != "この");
}

// Whether 他 at i stands in 他ならない, "nothing but": before なら, not after その この.
bool NothingBut(const Neighbours& n, std::size_t i, const AnalyzedWord& w) {
    return n.After(i) != nullptr && n.Surface(i + 1).starts_with("なら") &&
           NotAfterThisOrThat(n, i, w);
}

// Whether the classical り (居ります) touches the word at i from after.
bool BeforeRi(const Neighbours& n, std::size_t i, const AnalyzedWord& /*w*/) {
    return n.After(i) != nullptr && n.Surface(i + 1) == "り";
}

// Whether ほど ばかり くらい or ぐらい touches the word at i from after: a length, "about".
bool BeforeAbout(const Neighbours& n, std::size_t i, const AnalyzedWord& /*w*/) {
    if (n.After(i) == nullptr) {
        return false;
    }
    const std::string_view next = n.Surface(i + 1);
    return next == "ほど" || next == "ばかり" || next == "くらい" || next == "ぐらい";
}

// Whether a word starting with と で or だ, or の, touches the word at i from after.
bool BeforeToDeDaOrNo(const Neighbours& n, std::size_t i, const AnalyzedWord& /*w*/) {
    if (n.After(i) == nullptr) {
        return false;
    }
    const std::string_view next = n.Surface(i + 1);
    return next.starts_with("と") || next.starts_with("で") || next.starts_with("だ") ||
           next == "の";
}

// The plain readings of words standing alone, where a dictionary gives a compound's or an old
// one (a compound is one word of the dictionary and keeps its own). A long vowel may be written
// ウ or ー (the Open JTalk dictionary's コー, ベー).
constexpr ContextReading kStandingAlone[] = {
    // Before a particle: 光が, 火の光を (not the こう of 光線).
    {"光", Match::kWordSaidStart, {"コウ", "コー"}, Always, kAnyParticle, "ヒカリ"},
    // The Open JTalk dictionary has 光が as one word.
    {"光", Match::kStart, {"コウ", "コー"}, KanjiWithParticle, "", "ヒカリ"},
    // A line: 末尾の行, 最終行 (not the literary くだり), written as the dictionaries write a
    // long vowel.
    {"行", Match::kWord, {"クダリ", "ユキ", "コウ", "コー"}, IsNoun, "", "ギョー"},
    // Not the ね of a price.
    {"値", Match::kWord, {"ネ"}, Always, "", "アタイ"},
    // After a verbal noun: 拡張子, 識別子.
    {"子", Match::kWord, {"コ"}, SuffixAfterVerbalNoun, "", "シ"},
    // 他の人, 他は (not in その他, この他).
    {"他", Match::kWord, {"タ"}, NotAfterThisOrThat, "の,に,は,も", "ホカ"},
    // The Open JTalk dictionary's one word 他の; 他ならない "nothing but".
    {"他の", Match::kWord, {"タノ"}, NotAfterThisOrThat, "", "ホカノ"},
    {"他", Match::kWord, {"タ"}, NothingBut, "", "ホカ"},
    // Before a particle: 雄の羽, as 雌 めす (not the ゆう of 英雄).
    {"雄", Match::kWord, {"ユウ", "ユー"}, IsAPlainNoun, kAnyParticle, "オス"},
    {"身体", Match::kWord, {"シンタイ"}, Always, kAnyParticle, "カラダ"},
    // Rice.
    {"米", Match::kWord, {"ベイ", "ベー"}, Always, "が,を,は,も,に", "コメ"},
    // Before the classical り: 居ります.
    {"居", Match::kWord, {"イ"}, BeforeRi, "", "オ"},
    // A month's length, not January: 一月ほど.
    {"一月", Match::kWord, {"イチガツ"}, BeforeAbout, "", "ヒトツキ"},
    // 何とか, 何でも, 何の用.
    {"何", Match::kWord, {"ナニ"}, BeforeToDeDaOrNo, "", "ナン"},
};

void ReadWord(const Neighbours& n, std::size_t i, AnalyzedWord& w) {
    if (!ReadByFirstRow(kByWordsBeside, n, i, w)) {
        ReadByFirstRow(kStandingAlone, n, i, w);
    }
}

// Whether the verb at i (描く, 描いた) has a picture or a figure for its object or place: 絵を
// 描く, 絵に描いた, 図の描かれた, グラフに描く, where it is かく, drawing, not the えがく of
// depicting (生活を描いた).
bool DrawsPicture(const Neighbours& n, std::size_t i) {
    const auto picture = [&](std::size_t k) {
        const std::string_view s = n.Surface(k);
        return s == "絵" || s == "図" || s == "グラフ";
    };
    if (i >= 1 && picture(i - 1)) {
        return true;
    }
    return i >= 2 && IsParticle(n, i - 1, "を,に,の,が,も,は,しか") && picture(i - 2);
}

// Whether the verb at i holds a thought or a feeling, where 抱く is いだく (疑念を抱いた,
// コンプレックスを抱いて, 憂いを抱く, 胸に抱いた), not the だく of holding in the arms (花を抱き,
// 子供を抱いて): its object before を is a compound of kanji, a katakana word or a noun with
// kana, and names no person, doll or body (子 児 人 坊 娘 形 体).
bool HoldsThought(const Neighbours& n, std::size_t i) {
    if (i < 2 || n.Before(i) == nullptr || n.Before(i - 1) == nullptr) {
        return false;
    }
    const std::string_view object = n.Surface(i - 2);
    if (IsParticle(n, i - 1, "に")) {
        return object == "胸";
    }
    if (!IsParticle(n, i - 1, "を") || n.words[i - 2].partOfSpeech != "名詞") {
        return false;
    }
    for (const std::string_view body : {"子", "児", "人", "坊", "娘", "形", "体"}) {
        if (object.find(body) != std::string_view::npos) {
            return false;
        }
    }
    return IsKanjiCompound(object) || IsKatakanaWord(object) ||
           (HasHiragana(object) && !IsKanjiCompound(object) && object.size() > 3 &&
            static_cast<unsigned char>(object[0]) >= 0xE4);
}

// The seasons, terms and meetings that the prefix 今 names as "this": 今シーズン, 今大会,
// 今国会 こん. Before other words the dictionary's prefix is the adverb いま (今ドアから入って
// 来る, 今法律では).
constexpr std::string_view kTermsAfterKon[] = {
    "シーズン", "大会", "国会", "議会", "場所", "学期", "会期", "期",   "季",     "試合", "総会",
    "年度",     "世紀", "回",   "夏",   "冬",   "春",   "秋",   "大戦", "定例会", "会議"};

bool IsTermAfterKon(std::string_view next) {
    for (const std::string_view term : kTermsAfterKon) {
        if (next == term) {
            return true;
        }
    }
    return false;
}

// Whether 命 at i is an order, めい: before により (幕府の命により), before に and a form of
// 従う or よる (親の命に従う), before を and a form of 受ける (命を受けて), where a life is いのち
// (命を大切に, 命に関わる).
bool IsOrder(const Neighbours& n, std::size_t i) {
    if (n.After(i) == nullptr) {
        return false;
    }
    const std::string_view next = n.Surface(i + 1);
    if (next == "により" || next == "によって" || next == "による") {
        return true;
    }
    if (n.After(i + 1) == nullptr) {
        return false;
    }
    const std::string_view then = n.Surface(i + 2);
    return (next == "に" && (then.starts_with("従") || then.starts_with("より") ||
                             then.starts_with("よっ") || then.starts_with("よる"))) ||
           (next == "を" && then.starts_with("受"));
}

// Whether the word is a counter (助数詞: 時間, 年, 日 after a number).
bool IsCounter(const AnalyzedWord& w) {
    return w.partOfSpeech == "名詞" && w.feature.find("助数詞") != std::string::npos;
}

// Whether the word at i starts a clause: the first of the text, or after a sign (、 。 「).
bool StartsClause(const Neighbours& n, std::size_t i, const AnalyzedWord& /*w*/) {
    return i == 0 || n.words[i - 1].partOfSpeech == "記号" ||
           n.words[i - 1].partOfSpeech == "補助記号";
}

// Whether a counter touches the word at i from before (２時間後, 数年後).
bool AfterCounter(const Neighbours& n, std::size_t i, const AnalyzedWord& /*w*/) {
    const AnalyzedWord* before = n.Before(i);
    return before != nullptr && IsCounter(*before);
}

// Whether a counter and の come before the word at i, の touching it (数年の後).
bool AfterCounterAndNo(const Neighbours& n, std::size_t i, const AnalyzedWord& /*w*/) {
    return n.Before(i) != nullptr && n.Surface(i - 1) == "の" && i >= 2 &&
           IsCounter(n.words[i - 2]);
}

// Whether the dependent noun at i follows a verb or an adjective in the form that stands before
// a noun (する上で).
bool DependentAfterAttributive(const Neighbours& n, std::size_t i, const AnalyzedWord& w) {
    const AnalyzedWord* before = n.Before(i);
    return w.subdivision == "非自立" && before != nullptr && IsAttributive(*before);
}

// Whether 方 at i is a way of doing, after a verb's stem (さびれ方), or a person, after a verb or
// an adjective and before は の です (思う方は, できる方です); before が it compares (した方が).
bool WayOrPerson(const Neighbours& n, std::size_t i, const AnalyzedWord& /*w*/) {
    const AnalyzedWord* before = n.Before(i);
    if (before == nullptr) {
        return false;
    }
    if (before->partOfSpeech == "動詞" && before->conjugation == "連用形") {
        return true;
    }
    // 方 may end the text: there is no word after it to ask.
    return IsAttributive(*before) &&
           (IsParticle(n, i + 1, "は,の") ||
            (i + 1 < n.words.size() && n.Surface(i + 1).starts_with("です")));
}

// Whether a name touches the word at i from before: a person's, a place's (not a country's) or
// a word in katakana.
bool AfterName(const Neighbours& n, std::size_t i, const AnalyzedWord& /*w*/) {
    const AnalyzedWord* before = n.Before(i);
    return before != nullptr && (before->feature.find("人名") != std::string::npos ||
                                 (before->feature.find("地域") != std::string::npos &&
                                  before->feature.find("地域,国") == std::string::npos) ||
                                 IsKatakanaWord(n.Surface(i - 1)));
}

bool SuffixAfterName(const Neighbours& n, std::size_t i, const AnalyzedWord& w) {
    return w.subdivision == "接尾" && AfterName(n, i, w);
}

// Whether a noun or a verbal noun touches the word at i from before.
bool AfterNounOrVerbalNoun(const Neighbours& n, std::size_t i, const AnalyzedWord& /*w*/) {
    const AnalyzedWord* before = n.Before(i);
    return before != nullptr && (IsPlainNoun(*before) || before->subdivision == "サ変接続");
}

// Whether a verbal noun touches the word at i from before (案内人).
bool AfterVerbalNoun(const Neighbours& n, std::size_t i, const AnalyzedWord& /*w*/) {
    const AnalyzedWord* before = n.Before(i);
    return before != nullptr && before->partOfSpeech == "名詞" && before->subdivision == "サ変接続";
}

// The readings that the word before decides, before those of words that stand alone or follow a
// prefix (kAloneOrAfterPrefix).
constexpr ContextReading kByWordBefore[] = {
    // After a counter, a time after that span: ２時間後, 数年後.
    {"後", Match::kWord, {"アト"}, AfterCounter, "", "ゴ"},
    // Before に at a clause's start, the adverb のちに, "later": 後に破談になった (IPADIC says
    // ご for 後 at the text's start).
    {"後", Match::kWord, {"アト", "ゴ"}, StartsClause, "に", "ノチ"},
    // After a span and の: 数年の後, 一年の後.
    {"後", Match::kWord, {"アト"}, AfterCounterAndNo, "", "ノチ"},
    // The formal noun after a verb: する上で, 見た上で (not the じょう of マシン上).
    {"上", Match::kWord, {"ジョウ", "ジョー"}, DependentAfterAttributive, "", "ウエ"},
    // A way of doing or a person (した方がいい: ほう).
    {"方", Match::kWord, {"ホウ", "ホー"}, WayOrPerson, "", "カタ"},
    // ラーン川.
    {"川", Match::kWord, {"カワ"}, AfterName, "", "ガワ"},
    // The second part of a compound that the dictionary has as a word of its own, voiced after a
    // noun as in the compound (rendaku): ばね仕掛け じかけ, プレハブ小屋 ごや, 夏布団 ぶとん, 紙皿
    // ざら, 芝桜 ざくら, 睡眠不足 ぶそく, 夫婦喧嘩 げんか, 勉強部屋 べや, 和太鼓 だいこ, 酒好き
    // ずき.
    {"仕掛け", Match::kWord, {"シカケ"}, AfterNounOrVerbalNoun, "", "ジカケ"},
    {"小屋", Match::kWord, {"コヤ"}, AfterNounOrVerbalNoun, "", "ゴヤ"},
    {"布団", Match::kWord, {"フトン"}, AfterNounOrVerbalNoun, "", "ブトン"},
    {"皿", Match::kWord, {"サラ"}, AfterNounOrVerbalNoun, "", "ザラ"},
    {"桜", Match::kWord, {"サクラ"}, AfterNounOrVerbalNoun, "", "ザクラ"},
    {"不足", Match::kWord, {"フソク"}, AfterNounOrVerbalNoun, "", "ブソク"},
    {"喧嘩", Match::kWord, {"ケンカ"}, AfterNounOrVerbalNoun, "", "ゲンカ"},
    {"部屋", Match::kWord, {"ヘヤ"}, AfterNounOrVerbalNoun, "", "ベヤ"},
    {"太鼓", Match::kWord, {"タイコ"}, AfterNounOrVerbalNoun, "", "ダイコ"},
    {"好き", Match::kWord, {"スキ"}, AfterNounOrVerbalNoun, "", "ズキ"},
    // A family: 織田家, 高倉家 (a name the dictionary has as a place), クロンクヴィスト家 (not
    // 音楽家, nor the school 墨家).
    {"家", Match::kWord, {"カ"}, SuffixAfterName, "", "ケ"},
    // Alone before a particle: 館に住む (not the かん of 図書館).
    {"館", Match::kWord, {"カン"}, NounNotAfterNoun, kAnyParticle, "ヤカタ"},
    // After a verbal noun, the one who does it: 案内人, 告発人, 管理人, where a dictionary says
    // じん as after a place or an age (日本人, 現代人).
    {"人", Match::kWord, {"ジン"}, AfterVerbalNoun, "", "ニン"},
    // As it is commonly said, alone and in 日本人 (日本一 and 大日本 keep にっぽん).
    {"日本", Match::kWordSaidStart, {"ニッポン"}, Always, "", "ニホン"},
    {"日本人", Match::kWordSaidStart, {"ニッポン"}, Always, "", "ニホン"},
};

// Whether a noun made of two kanji or more touches the word at i from before (円錐形, 殺人鬼).
bool AfterKanjiCompound(const Neighbours& n, std::size_t i, const AnalyzedWord& /*w*/) {
    const AnalyzedWord* before = n.Before(i);
    return before != nullptr && before->partOfSpeech == "名詞" && IsKanjiCompound(n.Surface(i - 1));
}

// Whether a katakana word touches the word at i from before (カルボニル基).
bool AfterKatakanaWord(const Neighbours& n, std::size_t i, const AnalyzedWord& /*w*/) {
    return n.Before(i) != nullptr && IsKatakanaWord(n.Surface(i - 1));
}

// Whether a name of four katakana or more touches the suffix at i from before (ゼニゴケ目, not
// ミシン目).
bool SuffixAfterKatakanaName(const Neighbours& n, std::size_t i, const AnalyzedWord& w) {
    return w.subdivision == "接尾" && AfterKatakanaWord(n, i, w) && n.Surface(i - 1).size() >= 12;
}

bool VerbOfPicture(const Neighbours& n, std::size_t i, const AnalyzedWord& w) {
    return IsVerb(n, i, w) && DrawsPicture(n, i);
}

bool VerbOfThought(const Neighbours& n, std::size_t i, const AnalyzedWord& w) {
    return IsVerb(n, i, w) && HoldsThought(n, i);
}

// Whether the noun at i follows お, an adjective or a describing word ending in な (小さな).
bool NounAfterHonorOrDescription(const Neighbours& n, std::size_t i, const AnalyzedWord& w) {
    const AnalyzedWord* before = n.Before(i);
    return IsPlainNoun(w) && before != nullptr &&
           (n.Surface(i - 1) == "お" || before->partOfSpeech == "形容詞" ||
            (before->partOfSpeech == "連体詞" && n.Surface(i - 1).ends_with("な")));
}

// Whether the noun at i follows no number, demonstrative (その) or prefix.
bool NounNotAfterNumberOrDemonstrative(const Neighbours& n, std::size_t i, const AnalyzedWord& w) {
    const AnalyzedWord* before = n.Before(i);
    return IsPlainNoun(w) &&
           (before == nullptr || (!before->isNumeral && before->partOfSpeech != "連体詞" &&
                                  before->partOfSpeech != "接頭詞"));
}

// Whether the prefix at i comes before a word that is not a season, a term or a meeting.
bool PrefixBeforeOtherThanTerm(const Neighbours& n, std::size_t i, const AnalyzedWord& w) {
    return w.partOfSpeech.starts_with("接頭") && n.After(i) != nullptr &&
           !IsTermAfterKon(n.Surface(i + 1));
}

// Whether the prefix at i comes before a noun written with kana that is not a short word of kana
// alone.
bool PrefixBeforeNativeWord(const Neighbours& n, std::size_t i, const AnalyzedWord& w) {
    if (!w.partOfSpeech.starts_with("接頭") || n.After(i) == nullptr ||
        n.words[i + 1].partOfSpeech != "名詞") {
        return false;
    }
    const std::string_view next = n.Surface(i + 1);
    return HasHiragana(next) && (next.size() > 6 || static_cast<unsigned char>(next[0]) >= 0xE4);
}

// Whether the word touching the word at i from after starts with え (数え).
bool BeforeE(const Neighbours& n, std::size_t i, const AnalyzedWord& /*w*/) {
    return n.After(i) != nullptr && n.Surface(i + 1).starts_with("え");
}

bool IsAnOrder(const Neighbours& n, std::size_t i, const AnalyzedWord& /*w*/) {
    return IsOrder(n, i);
}

// The readings of words that stand alone, follow a prefix or a kind of word, where no row of
// kByWordBefore matched.
constexpr ContextReading kAloneOrAfterPrefix[] = {
    // The Open JTalk dictionary's ドキ of 梅雨時, alone: 時を待つ.
    {"時", Match::kWord, {"ドキ"}, NotAfterNoun, "", "トキ"},
    {"時", Match::kWord, {"ジ"}, NotAfterNoun, "が,を,は,に,の", "トキ"},
    // 円錐形, 現在形 (not がた or かたち).
    {"形", Match::kWord, {"ガタ", "カタチ"}, AfterKanjiCompound, "", "ケイ"},
    // 絵を描く, グラフに描かれた: drawing, かく.
    {"描", Match::kStart, {"エガ"}, VerbOfPicture, "", "カ"},
    // 疑念を抱く: いだく.
    {"抱", Match::kStart, {"ダ"}, VerbOfThought, "", "イダ"},
    // A shrine: お社, 小さな社 (この社, わが社: a company).
    {"社", Match::kWord, {"シャ"}, NounAfterHonorOrDescription, "", "ヤシロ"},
    // 額に手を当てる, 猫の額 (その額を: the sum, がく).
    {"額", Match::kWord, {"ガク"}, NounNotAfterNumberOrDemonstrative, "に,の,を,が", "ヒタイ"},
    // An attendant: 菊を供にして (提供 is one word).
    {"供", Match::kWord, {"キョウ", "キョー"}, NotAfterNoun, "に,を,の", "トモ"},
    // 今ドアから, 今自分が (今シーズン, 今大会: こん).
    {"今", Match::kWord, {"コン"}, PrefixBeforeOtherThanTerm, "", "イマ"},
    // 垂れる たれる: the しだれる of the Open JTalk dictionary is 枝垂れる.
    {"垂", Match::kStart, {"シダ"}, IsVerb, "", "タ"},
    // 宿す やどす, where the Open JTalk dictionary reads the verbal noun 宿 and す.
    {"宿", Match::kStart, {"シュク"}, IsVerb, "", "ヤド"},
    // 十数えよ: the verb 数える after a number.
    {"数", Match::kWord, {"スウ", "スー"}, BeforeE, "", "カゾ"},
    // Alone; ひ after a title (皇太子妃).
    {"妃", Match::kWord, {"ヒ"}, NotAfterNoun, "が,を,は,に,の,も", "キサキ"},
    // The Buddha alone; ふつ, France, in 日仏 仏大統領.
    {"仏", Match::kWord, {"フツ"}, Always, "に,の,を,が,は,も,や,と", "ホトケ"},
    // 我を忘れる.
    {"我", Match::kWord, {"ガ", "ワガ"}, Always, "を", "ワレ"},
    // その所為か.
    {"所為", Match::kWord, {"ショイ"}, Always, "", "セイ"},
    // 逆だった: 逆 and だった, not the verb 逆立つ written in kana.
    {"逆だ", Match::kStart, {"サカダ"}, Always, "", "ギャクダ"},
    // An order of living things: ゼニゴケ目 (ミシン目 め).
    {"目", Match::kWord, {"メ"}, SuffixAfterKatakanaName, "", "モク"},
    // A word (適切な語); the telling is written 語り.
    {"語", Match::kWord, {"カタリ"}, Always, "", "ゴ"},
    // 幕府の命により (命を大切に: いのち).
    {"命", Match::kWord, {"イノチ"}, IsAnOrder, "", "メイ"},
    // A group of a molecule: カルボニル基, ケトン基.
    {"基", Match::kWord, {"モト"}, AfterKatakanaWord, "", "キ"},
    // 殺人鬼, 吸血鬼 (赤鬼 あかおに).
    {"鬼", Match::kWord, {"オニ"}, AfterKanjiCompound, "", "キ"},
    // 大違い, 大にぎわい (大成功: だい); not before a short word of kana alone: 大なり (the sign
    // >) is だいなり.
    {"大", Match::kWord, {"ダイ"}, PrefixBeforeNativeWord, "", "オオ"},
};

// Words that the word before them decides (kByWordBefore: 後, the formal noun 上, 方, 川, the
// second part of a compound, 家, 館, 人, 日本), then words that stand alone, follow a prefix or
// a kind of word (kAloneOrAfterPrefix: 時, 形, 描く, 抱く, 社, 額, 今, 大 and the rest).
void ReadByWordBefore(const Neighbours& n, std::size_t i, AnalyzedWord& w) {
    if (!ReadByFirstRow(kByWordBefore, n, i, w)) {
        ReadByFirstRow(kAloneOrAfterPrefix, n, i, w);
    }
}

// A word whose first sound changes after another: its pronunciation plain and changed.
struct SoundChange {
    std::string_view word;
    std::string_view plain;
    std::string_view changed;
};

// A counter after 何 (なん) changes its sound as after ん, the way it does after 三: 何分
// なんぷん, 何本 なんぼん, 何杯 なんばい, 何匹 なんびき, 何軒 なんげん, 何階 なんがい.
constexpr SoundChange kCountersAfterNan[] = {
    {"分", "フン", "プン"}, {"本", "ホン", "ボン"}, {"杯", "ハイ", "バイ"},
    {"匹", "ヒキ", "ビキ"}, {"軒", "ケン", "ゲン"}, {"階", "カイ", "ガイ"},
};

void ReadCounterAfterNan(const Neighbours& n, std::size_t i, AnalyzedWord& w) {
    constexpr std::string_view kWhat = "何";
    constexpr std::string_view kNan = "ナン";
    std::string_view s = n.Surface(i);
    if (s == kWhat && w.pronunciation == "ナニ" && n.After(i) != nullptr) {
        // 何 before a counter is なん (IPADIC's 何杯 なにはい); not before 分, where なにぶん
        // ("be that as it may") is a word of its own.
        for (const SoundChange& c : kCountersAfterNan) {
            if (c.word != "分" && n.Surface(i + 1).starts_with(c.word)) {
                w.pronunciation = kNan;
                return;
            }
        }
        return;
    }
    std::size_t at = 0; // where the counter's reading starts in w.pronunciation
    if (s.starts_with(kWhat) && std::string_view(w.pronunciation).starts_with(kNan)) {
        s.remove_prefix(kWhat.size()); // one word of the dictionary: 何分
        at = kNan.size();
    } else if (const AnalyzedWord* before = n.Before(i);
               before == nullptr || n.Surface(i - 1) != kWhat || before->pronunciation != kNan) {
        return;
    }
    for (const SoundChange& c : kCountersAfterNan) {
        if (s.starts_with(c.word) &&
            std::string_view(w.pronunciation).substr(at).starts_with(c.plain)) {
            w.pronunciation.replace(at, c.plain.size(), c.changed);
            return;
        }
    }
}

} // namespace

void ApplyWordContext(std::string_view utf8, std::vector<AnalyzedWord>& words) {
    const Neighbours n{utf8, words};
    for (std::size_t i = 0; i < words.size(); ++i) {
        AnalyzedWord& w = words[i];
        if (w.pronunciation.empty()) {
            continue; // a word the caller reads itself, or one the dictionary does not know
        }
        const std::string own = w.pronunciation;
        ReadSpan(n, i, w);
        ReadRise(n, i, w);
        ReadWord(n, i, w);
        ReadCounterAfterNan(n, i, w);
        ReadByWordBefore(n, i, w);
        w.byContext = w.byContext || w.pronunciation != own;
    }
}

} // namespace yomi6
