#include "labels/accent_rules.h"

#include <algorithm>
#include <iterator>

namespace yomi6::labels {

namespace {

// Every own rule, in the order the stages apply them: one place for the names and what they do.
constexpr OwnRule kOwnRules[] = {
    {"entry-accent", "a word read with another count of morae than its dictionary entry "
                     "keeps the entry's nucleus as far from its end (日本 ニホ]ン for "
                     "ニッポ]ン)"},
    {"numbers", "a number and its counter are read as one word by the number rules, with an "
                "accent by rule"},
    {"counting-words", "a native word of counting is one word with its own accent (一人 "
                       "ヒト]リ, 二人 フタリ], 三日 ミッカ)"},
    {"number-groups", "a long number is said in groups, each a phrase: 三百四十五 サ]ンビャク "
                      "ヨ]ンジュー ゴ"},
    {"suru", "する and できる after a noun of action join its phrase: 勉強する keeps the "
             "noun's accent, a flat noun takes できる's (合格できる)"},
    {"suru-split", "する and できる after an accented noun of action start a phrase (理解する "
                   "リ]カイ スル)"},
    {"formal-noun", "の and こと after a predicate, ため after の, join its phrase; もの, わけ "
                    "... join it when it is flat, with their own nucleus"},
    {"te-auxiliary", "いる, しまう, おく, くる ... after a て form join its phrase, its "
                     "accent kept (ください does not)"},
    {"te-oru-kuru", "おり (before no auxiliary) and くる after a て form put a flat "
                    "phrase's nucleus on their first mora (暮らしてきた クラシテキ]タ)"},
    {"te-particle", "a particle after a て form combines as after the verb (行っても)"},
    {"nai", "ない after は, も or an adjective's く form is a phrase of its own (ではない)"},
    {"naru", "なる after a く form joins it (なくなる, 飲みたくなる)"},
    {"verb-suffix", "れる, られる, せる, させる move an accented verb's nucleus to the mora "
                    "before their last (かけられて カケラ]レテ)"},
    {"honorific", "なさる and くださる after a verb keep their own nucleus (調べなさい)"},
    {"ta-flat", "た after a flat verb leaves it flat (行った イッタ; 行ったら イッタ]ラ)"},
    {"tachi", "たち keeps an accented noun's nucleus (召使たち メシツ]カイタチ), a flat "
              "noun's on its last mora"},
    {"teki-flat", "a word in 的 is flat (伝統的な)"},
    {"to-suru", "する in its し form after the particle と joins it (として; とされる "
                "does not)"},
    {"adverbial-ku", "a verb after an adjective's く form starts a phrase (早く歩く)"},
    {"number-phrase", "a number after another noun starts a phrase (あと１カ月)"},
    {"dou", "どう joins the verb after it, どの a dependent noun (どうやって ド]ーヤッテ)"},
    {"pronoun", "a pronoun and the noun after it are two phrases (みんな図書館に)"},
    {"compound-stem", "an adjectival noun's stem and the noun after it are one compound "
                      "(自然現象)"},
    {"dearu", "ある after で puts a flat phrase's nucleus on its ア (未定である)"},
    {"dearu-split", "ある after で starts a phrase of its own after an accented phrase "
                    "(一つである ヒト]ツデ ア]ル)"},
    {"ni-after-verb", "に after a verb's plain form keeps its accent (築くには)"},
    {"ni-after-flat-verb", "に after a flat verb's plain form puts the nucleus on the "
                           "verb's last mora (進むにつれ ススム]ニツレ)"},
    {"odaka-no", "の after a noun with its nucleus on its last mora makes the phrase flat "
                 "(花の ハナノ)"},
    {"ni-yoru", "よる after に joins the noun's phrase, its accent kept (政府によって "
                "セ]ーフニヨッテ)"},
    {"ni-oite", "おいて and ついて after に join a phrase of five morae at most before a "
                "pause or の; ついて gives a flat phrase its nucleus (事象について "
                "ジショーニツ]イテ)"},
    {"you-ni", "よう after a verb's plain form or ない joins an accented phrase, its "
               "nucleus kept (分かるように ワカ]ルヨーニ)"},
    {"to-iu", "いう between と and a noun joins the phrase before (回っているという説)"},
    {"tame", "ため after a predicate joins its phrase, a flat one taking its nucleus "
             "(建設するため ケンセツスルタメ])"},
    {"sono-tame", "その, この, あの and ため or まま are one flat phrase (そのため ソノタメ)"},
    {"particle-wa", "は and の after で, に, から put a flat phrase's nucleus on that "
                    "particle (肉眼では)"},
    {"to-he-particle", "は and の after a noun's と or へ put a flat phrase's nucleus on "
                       "that particle (敵との テキト]ノ)"},
    {"conjunctive-final-mora", "the conjunctive と and が after a predicate put a flat "
                               "phrase's nucleus on its last mora (成長すると "
                               "セーチョースル]ト)"},
    {"mo-after-particle", "も after に, と or で puts a flat phrase's nucleus on that particle "
                          "(週末にも シューマツニ]モ)"},
    {"tari", "たり keeps an accented verb's nucleus (作ったり ツク]ッタリ), a flat phrase's "
             "on た (したり シタ]リ)"},
    {"verb-final-mora", "だろう and と after a flat verb put the nucleus on its last mora "
                        "(行くだろう)"},
    {"quote-to", "the quoting と after た, だ or ない puts a flat phrase's nucleus on the "
                 "mora before it (無駄だと ムダダ]ト)"},
    {"nakereba", "なければ, なくて, なかった put a flat phrase's nucleus on their な, an "
                 "accented verb's on its last mora (ワカラ]ナケレバ)"},
    {"datta", "だった, でした put a flat phrase's nucleus on their first mora"},
    {"ichidan-te", "the て and た forms of an accented 一段 verb (or 五段 verb in す) have "
                   "the nucleus a mora earlier (調べた シラ]ベタ)"},
    {"adjective-ku", "the く and ば forms of an accented adjective have its nucleus a mora "
                     "earlier (高く タ]カク)"},
    {"adjective-ku-long", "the く form of an accented adjective of five morae or more "
                          "keeps the plain form's nucleus (美しく ウツクシ]ク)"},
    {"suffix-accent", "者, 力, 物 ... after a noun put the nucleus on its last mora (研究者 "
                      "ケンキュ]ーシャ); 家, 語, 用, 後 ... make the compound flat (専門家 "
                      "センモンカ)"},
    {"dai-number", "a phrase of 第 and a number has its nucleus on 第 (第二次 ダ]イニジ)"},
    {"adjective-sa", "さ after an adjective's stem of two morae puts the nucleus on its "
                     "first (高さ タ]カサ), after a flat adjective's stem leaves it flat "
                     "(優しさ)"},
    {"counter-flat", "円, 回, 面 after a number make it one flat word (三回 サンカイ, 一万円 "
                     "イチマンエン)"},
    {"rashii", "らしい puts the phrase's nucleus on its シ after any phrase (あるらしい "
               "アルラシ]イ), its く and かっ forms on its ラ (ラ]シク)"},
    {"are-ba", "あれ, the 仮定形 of ある, has its nucleus on ア as its other forms have it "
               "(あれば ア]レバ)"},
    {"verb-kata", "方 after a verb's 連用形 takes the nucleus on its カ (練り方 "
                  "ネリカ]タ)"},
    {"pronoun-tachi", "たち after a flat pronoun of three morae or more puts the nucleus "
                      "on its mora before the last (私たち ワタ]シタチ)"},
    {"interrogative-flat", "も after 誰 or 何 (誰にも) and くらい after どの or どれ make "
                           "the phrase flat (何も ナニモ, どのくらい ドノクライ)"},
    {"prefix-flat", "a noun after the prefix お or ご is flat with it, unless its nucleus is "
                    "on its first mora (お酒 オサケ, ご意見 ゴイ]ケン)"},
    {"prefix-verb", "いただく, いたす, する, くださる after a flat お or ご noun join its "
                    "phrase (ご利用いただけます ゴリヨーイタダケマス)"},
    {"no-naka", "中 after の joins a flat phrase with the nucleus on its ナ (森の中 "
                "モリノナ]カ)"},
    {"stem-ni-naru", "なる and する after the に of an adjectival noun's flat stem join its "
                     "phrase (有名になる ユーメーニナ]ル)"},
    {"te-inai", "いる before ない after an accented て form starts a phrase of its own "
                "(帰っていない カ]エッテ イナイ)"},
    {"renyou-end", "an accented verb's 連用形 that is a phrase by itself has the nucleus a "
                   "mora earlier where the dictionary puts it on its last (求め、 モト]メ)"},
    {"te-kudasai", "ください after a flat て form joins its phrase with its own nucleus "
                   "(提出してください テーシュツシテクダサ]イ)"},
    {"aru-nucleus", "あり and あれ after で in a phrase of their own have the nucleus on "
                    "ア (であり ア]リ)"},
    {"tokoro", "the formal noun ところ has its nucleus on its last mora (見つけたところだ "
               "ミツケタトコロ]ダ)"},
    {"sou", "そう after a stem (楽しそう) takes the nucleus on its first mora (タノシソ]ー)"},
    {"volitional", "the volitional う and よう put the nucleus on the mora before them "
                   "(行こうと イコ]ート)"},
    {"action-time", "a noun that can be an adverb after a noun of action or a number is "
                    "one compound with it (営業時間 エーギョージ]カン)"},
    {"noun-adjective", "an adjective right after a noun joins it, a flat noun taking its "
                       "nucleus (手際よく テギワヨ]ク)"},
    {"after-formal-noun", "a noun of its own after a dependent noun starts a phrase "
                          "(そのまま地植え ソノママ ジウエ)"},
    {"predicate-pair", "an adjective after an adjective, a verb after a verb's plain form, "
                       "start a phrase (太く短い フ]トク ミジカ]イ)"},
    {"final-masu", "ます at the end of a sentence adds no nucleus"},
    {"final-desu", "です at the end of a sentence adds no nucleus (予定です。 ヨテーデス)"},
    {"final-masu-flat", "a verb that starts its phrase and ends the sentence in ます is said "
                        "flat (あります。 アリマス)"},
    {"question-ka", "a sentence that ends in か is a question (ですか。)"},
    {"special-mora", "a phrase's nucleus that falls on ン, ッ or ー moves to the mora before "
                     "(少年たち ショーネ]ンタチ)"},
    {"nai-nucleus", "a phrase's nucleus that falls on the イ of ない moves to its ナ "
                    "(いけないから イケナ]イカラ)"},
    {"iu-yuu", "言う is said ユー (トユー), as spoken"},
};

} // namespace

const std::vector<OwnRule>& OwnRules() {
    static const std::vector<OwnRule> rules(std::begin(kOwnRules), std::end(kOwnRules));
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
