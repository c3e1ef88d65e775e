#include "analysis/word_context.h"

#include "text/char_classes.h"
#include "text/utf8_codec.h"

#include <array>
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

// The readings of words standing alone (a compound is one word of the dictionary and keeps its
// own): 光 before a particle is ひかり (光が, 火の光を), not the こう of 光線; 行 is a line, ぎょう
// (末尾の行, 最終行), not the literary くだり; 値 is あたい, not the ね of a price; 子 after a
// verbal noun is し (拡張子, 識別子); 他 before の に は も なら is ほか, except in その他 この他;
// 雄 before a particle is おす (雄の羽), not the ゆう of 英雄; 身体 before a particle is からだ; 米
// before が を は も に is rice, こめ; 居 before the classical り (居ります) is お; 一月 before
// ほど ばかり くらい ぐらい is a month's length, ひとつき, not January; 何 before と で だ の is
// なん (何とか, 何でも, 何の用). A long vowel may be written ウ or ー (the Open JTalk dictionary's
// コー, ベー).
void ReadStandingAlone(const Neighbours& n, std::size_t i, AnalyzedWord& w) {
    const std::string_view s = n.Surface(i);
    const AnalyzedWord* after = n.After(i);
    const std::string_view next = after != nullptr ? n.Surface(i + 1) : std::string_view();
    const std::string_view said = w.pronunciation;
    if (s.starts_with("光") && (said.starts_with("コウ") || said.starts_with("コー")) &&
        (s == "光"
             ? after != nullptr && after->partOfSpeech == "助詞"
             : s.size() == std::string_view("光が").size() &&
                   std::string_view("がをにのはも").find(s.substr(3)) != std::string_view::npos)) {
        // The Open JTalk dictionary has 光が as one word.
        w.pronunciation.replace(0, std::string_view("コウ").size(), "ヒカリ");
    } else if (s == "行" && w.partOfSpeech == "名詞" &&
               (said == "クダリ" || said == "ユキ" || said == "コウ" || said == "コー")) {
        w.pronunciation = "ギョー"; // written as the dictionaries write a long vowel
    } else if (s == "値" && said == "ネ") {
        w.pronunciation = "アタイ";
    } else if (s == "子" && said == "コ" && w.subdivision == "接尾" && i > 0 &&
               n.words[i - 1].partOfSpeech == "名詞" && n.words[i - 1].subdivision == "サ変接続") {
        w.pronunciation = "シ";
    } else if (s == "他" && w.pronunciation == "タ" && IsParticle(n, i + 1, "の,に,は,も") &&
               after != nullptr &&
               (i == 0 || (n.Surface(i - 1) != "その" && n.Surface(i - 1) != "この"))) {
        w.pronunciation = "ホカ";
    } else if (((s == "他の" && said == "タノ") ||
                (s == "他" && said == "タ" && after != nullptr && next.starts_with("なら"))) &&
               (i == 0 || (n.Surface(i - 1) != "その" && n.Surface(i - 1) != "この"))) {
        // The Open JTalk dictionary's one word 他の; 他ならない "nothing but".
        w.pronunciation.replace(0, std::string_view("タ").size(), "ホカ");
    } else if (s == "雄" && (said == "ユウ" || said == "ユー") && IsPlainNoun(w) &&
               after != nullptr && after->partOfSpeech == "助詞") {
        w.pronunciation = "オス"; // 雄の羽, as 雌 めす
    } else if (s == "身体" && w.pronunciation == "シンタイ" && after != nullptr &&
               after->partOfSpeech == "助詞") {
        w.pronunciation = "カラダ";
    } else if (s == "米" && (said == "ベイ" || said == "ベー") && after != nullptr &&
               IsParticle(n, i + 1, "が,を,は,も,に")) {
        w.pronunciation = "コメ";
    } else if (s == "居" && w.pronunciation == "イ" && after != nullptr && next == "り") {
        w.pronunciation = "オ";
    } else if (s == "一月" && said == "イチガツ" && after != nullptr &&
               (next == "ほど" || next == "ばかり" || next == "くらい" || next == "ぐらい")) {
        w.pronunciation = "ヒトツキ";
    } else if (s == "何" && w.pronunciation == "ナニ" && after != nullptr &&
               (next.starts_with("と") || next.starts_with("で") || next.starts_with("だ") ||
                next == "の")) {
        w.pronunciation = "ナン";
    }
}

void ReadWord(const Neighbours& n, std::size_t i, AnalyzedWord& w) {
    const std::string_view s = n.Surface(i);
    const AnalyzedWord* before = n.Before(i);
    const AnalyzedWord* after = n.After(i);
    if (s == "外" && w.pronunciation == "ソト" && before != nullptr && IsAttributive(*before) &&
        before->partOfSpeech != "形容詞") {
        w.pronunciation = "ホカ";
    } else if (s == "都" && w.pronunciation == "ト" && IsPlainNoun(w) &&
               (before == nullptr || before->partOfSpeech != "名詞")) {
        w.pronunciation = "ミヤコ";
    } else if (s == "金" && w.pronunciation == "キン" && IsPlainNoun(w) && after != nullptr &&
               after->partOfSpeech == "助詞" && n.Surface(i + 1) != "の" &&
               (before == nullptr || !before->isNumeral)) {
        w.pronunciation = "カネ";
    } else if (s == "銭" && w.pronunciation == "セン" &&
               (before == nullptr || !before->isNumeral)) {
        w.pronunciation = "ゼニ";
    } else if (s == "一寸" && w.pronunciation == "チョット" && before != nullptr &&
               IsMeasureOfSize(n, i - 1)) {
        w.pronunciation = "イッスン";
    } else if (s == "御" && w.pronunciation == "ゴ" && after != nullptr &&
               IsVerbStemOrItsNoun(n.Surface(i + 1), *after)) {
        w.pronunciation = "オ";
    } else if (s == "行っ" && w.pronunciation == "オコナッ" &&
               !(i > 0 && n.Surface(i - 1) == "を")) {
        w.pronunciation = "イッ";
    } else if (s == "行っ" && w.pronunciation == "イッ" && i > 0 && n.Surface(i - 1) == "を") {
        w.pronunciation = "オコナッ";
    } else {
        ReadStandingAlone(n, i, w);
    }
}

// A word whose first sound changes after another: its pronunciation plain and changed.
struct SoundChange {
    std::string_view word;
    std::string_view plain;
    std::string_view changed;
};

// The second part of a compound that the dictionary has as a word of its own, voiced after a
// noun as in the compound (rendaku): ばね仕掛け じかけ, プレハブ小屋 ごや, 夏布団 ぶとん, 紙皿
// ざら, 芝桜 ざくら, 睡眠不足 ぶそく.
constexpr SoundChange kVoicedAfterNoun[] = {
    {"仕掛け", "シカケ", "ジカケ"}, {"小屋", "コヤ", "ゴヤ"},   {"布団", "フトン", "ブトン"},
    {"皿", "サラ", "ザラ"},         {"桜", "サクラ", "ザクラ"}, {"不足", "フソク", "ブソク"},
};

const SoundChange* VoicedAfter(std::string_view surface, std::string_view said) {
    for (const SoundChange& v : kVoicedAfterNoun) {
        if (surface == v.word && said == v.plain) {
            return &v;
        }
    }
    return nullptr;
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
bool StartsClause(const Neighbours& n, std::size_t i) {
    return i == 0 || n.words[i - 1].partOfSpeech == "記号" ||
           n.words[i - 1].partOfSpeech == "補助記号";
}

void ReadAloneOrAfterPrefix(const Neighbours& n, std::size_t i, AnalyzedWord& w);

// Words that the word before them decides: 後 after a counter is ご, a time after that span
// (２時間後, 数年後); 後 before に at a clause's start is the adverb のちに, "later" (後に破談に
// なった); 後 after a span and の is のち (数年の後, 一年の後); the formal noun 上 after a verb is
// うえ (する上で, 見た上で), not the じょう of マシン上; 方 after a verb's stem is the way of
// doing, かた (さびれ方), and after a verb or adjective before は の です a person, かた (思う方は,
// できる方です), where before が it compares, ほう (した方がいい); 川 after a name is がわ
// (ラーン川); 家 after a name is a family, け; the second part of a compound voiced after a
// noun (kVoicedAfterNoun); 館 alone
// before a particle is やかた (館に住む), not the かん of 図書館; 人 after a verbal noun is the one
// who does it, にん (案内人, 告発人, 管理人), where a dictionary says じん as after a place or
// an age (日本人, 現代人); 日本 alone and in 日本人 is にほん, as it is commonly said (日本一
// and 大日本 keep にっぽん); 時 not after a noun is とき (時を待つ; 梅雨時 どき); 形 after a
// Sino-Japanese compound is けい (円錐形, 現在形), not がた or かたち; 描く with a picture or a
// figure (絵を描く, グラフに描かれた) is かく; the prefix 大 before a native word written with
// kana is おお (大違い, 大にぎわい), where before a Sino-Japanese word it is だい (大成功);
// 抱く with a thought or a feeling is いだく (HoldsThought); 社 after お, an adjective or 小さな
// 大きな (お社, 小さな社) is a shrine, やしろ; 額 standing alone before に の を が, not after a
// number or その, is the forehead, ひたい (額に手を当てる, 猫の額), where the sum is がく
// (その額を); 供 alone before a particle is an attendant, とも; 語 alone is a word, ご, not the
// かたり of an old telling; 命 an order is めい (IsOrder); 基 after a katakana word is a
// chemical group, き (カルボニル基); 鬼 after a compound of kanji is き (殺人鬼).
void ReadByWordBefore(const Neighbours& n, std::size_t i, AnalyzedWord& w) {
    const std::string_view s = n.Surface(i);
    const std::string_view said = w.pronunciation;
    const AnalyzedWord* before = n.Before(i);
    if (s == "後" && (w.pronunciation == "アト" || w.pronunciation == "ゴ")) {
        // IPADIC says ご for 後 at the text's start.
        const bool after = w.pronunciation == "アト";
        if (after && before != nullptr && IsCounter(*before)) {
            w.pronunciation = "ゴ";
        } else if (StartsClause(n, i) && IsParticle(n, i + 1, "に") && n.After(i) != nullptr) {
            w.pronunciation = "ノチ";
        } else if (after && before != nullptr && n.Surface(i - 1) == "の" && i >= 2 &&
                   IsCounter(n.words[i - 2])) {
            w.pronunciation = "ノチ";
        }
    } else if (s == "上" && (said == "ジョウ" || said == "ジョー") && w.subdivision == "非自立" &&
               before != nullptr && IsAttributive(*before)) {
        w.pronunciation = "ウエ";
    } else if (s == "方" && (said == "ホウ" || said == "ホー") && before != nullptr &&
               ((before->partOfSpeech == "動詞" && before->conjugation == "連用形") ||
                (IsAttributive(*before) &&
                 (IsParticle(n, i + 1, "は,の") || n.Surface(i + 1).starts_with("です"))))) {
        w.pronunciation = "カタ";
    } else if (s == "川" && said == "カワ" && before != nullptr &&
               (before->feature.find("人名") != std::string::npos ||
                (before->feature.find("地域") != std::string::npos &&
                 before->feature.find("地域,国") == std::string::npos) ||
                IsKatakanaWord(n.Surface(i - 1)))) {
        w.pronunciation = "ガワ";
    } else if (const SoundChange* v = VoicedAfter(s, said);
               v != nullptr && before != nullptr &&
               (IsPlainNoun(*before) || before->subdivision == "サ変接続")) {
        w.pronunciation = v->changed;
    } else if (s == "家" && said == "カ" && w.subdivision == "接尾" && before != nullptr &&
               (before->feature.find("人名") != std::string::npos ||
                (before->feature.find("地域") != std::string::npos &&
                 before->feature.find("地域,国") == std::string::npos) ||
                IsKatakanaWord(n.Surface(i - 1)))) {
        // A family: 織田家, 高倉家 (a name the dictionary has as a place), クロンクヴィスト家
        // (not 音楽家, nor the school 墨家).
        w.pronunciation = "ケ";
    } else if (s == "館" && said == "カン" && IsPlainNoun(w) &&
               (before == nullptr || before->partOfSpeech != "名詞") && n.After(i) != nullptr &&
               n.words[i + 1].partOfSpeech == "助詞") {
        w.pronunciation = "ヤカタ";
    } else if (s == "人" && w.pronunciation == "ジン" && before != nullptr &&
               before->partOfSpeech == "名詞" && before->subdivision == "サ変接続") {
        w.pronunciation = "ニン";
    } else if ((s == "日本" || s == "日本人") && w.pronunciation.starts_with("ニッポン")) {
        w.pronunciation.replace(0, std::string_view("ニッポン").size(), "ニホン");
    } else {
        ReadAloneOrAfterPrefix(n, i, w);
    }
}

// Whether the word before i is not a noun (or there is none): the word stands alone.
bool NotAfterNoun(const Neighbours& n, std::size_t i, const AnalyzedWord& /*w*/) {
    const AnalyzedWord* before = n.Before(i);
    return before == nullptr || before->partOfSpeech != "名詞";
}

bool Always(const Neighbours& /*n*/, std::size_t /*i*/, const AnalyzedWord& /*w*/) {
    return true;
}

bool IsVerb(const Neighbours& /*n*/, std::size_t /*i*/, const AnalyzedWord& w) {
    return w.partOfSpeech == "動詞";
}

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

// How a row of kAloneOrAfterPrefix matches a word.
enum class Match {
    kWord,  // the surface is `surface` and the pronunciation one of `said`: it becomes `reads`
    kStart, // the surface starts with `surface`, the pronunciation with one of `said`: that start
            // becomes `reads`
};

// A reading that a word standing alone, after a prefix or after a kind of word takes.
struct ContextReading {
    std::string_view surface;
    Match match;
    std::array<std::string_view, 2> said; // the dictionary's readings it replaces ("": none)
    bool (*when)(const Neighbours& n, std::size_t i, const AnalyzedWord& w); // the neighbours
    std::string_view particles; // one of these particles touches it from after ("": any word)
    std::string_view reads;
};

// The readings of words that stand alone, follow a prefix or a kind of word (時, 形, 描く, 抱く,
// 社, 額, 今, 大 and the rest named at ReadByWordBefore). The first row that matches wins. To add a
// word: one row {surface, Match::kWord or kStart, {readings it replaces}, condition, particles
// after it or "", new reading}, its example in a comment; a new condition is a small function
// above with the signature of `when`, named for what it asks of the neighbours. A row with
// readings that need different conditions is two rows.
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
    // 大違い, 大にぎわい; not before a short word of kana alone: 大なり (the sign >) is だいなり.
    {"大", Match::kWord, {"ダイ"}, PrefixBeforeNativeWord, "", "オオ"},
};

// The length of the start of said that row replaces, or npos when row does not match.
std::size_t Replaced(const ContextReading& row, std::string_view surface, std::string_view said) {
    const bool word = row.match == Match::kWord;
    if (word ? surface != row.surface : !surface.starts_with(row.surface)) {
        return std::string_view::npos;
    }
    for (const std::string_view reading : row.said) {
        if (!reading.empty() && (word ? said == reading : said.starts_with(reading))) {
            return reading.size();
        }
    }
    return std::string_view::npos;
}

void ReadAloneOrAfterPrefix(const Neighbours& n, std::size_t i, AnalyzedWord& w) {
    const std::string_view s = n.Surface(i);
    for (const ContextReading& row : kAloneOrAfterPrefix) {
        const std::size_t replaced = Replaced(row, s, w.pronunciation);
        if (replaced == std::string_view::npos) {
            continue;
        }
        if (!row.particles.empty() &&
            (n.After(i) == nullptr || !IsParticle(n, i + 1, row.particles))) {
            continue;
        }
        if (row.when(n, i, w)) {
            w.pronunciation.replace(0, replaced, row.reads);
            return;
        }
    }
}

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
