// The analyzer over each dictionary it supports: the field layout read from the dictionary's
// dicrc (IPADIC and NAIST-jdic against UniDic), the same readings from each, the default one,
// Latin words read as words where the dictionary knows them, and the characters of code page
// 932 beyond JIS X 0208 read through their readable form with their source bytes kept.
#include "analysis/analyzer_loader.h"
#include "analysis/extension_chars.h"
#include "analysis/feature_layout.h"
#include "analysis/mecab_analyzer.h"
#include "dictionary/dic_tables.h"
#include "dictionary/dictionary.h"
#include "labels/accent_rules.h"
#include "labels/labeler.h"
#include "reading/automatic_reading.h"
#include "support/sjis.h"
#include "text/cp932_codec.h"
#include "text/utf8_codec.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace yomi6 {
namespace {

using test::Sjis;
using test::ToHex;

constexpr const char* kNaistJdic = "/var/lib/mecab/dic/naist-jdic";
constexpr const char* kUniDic = "/var/lib/mecab/dic/unidic";
constexpr std::string_view kOpenJTalk = kOpenJTalkAnalyzerDictionary;

// A layout with the fields of the part of speech, its subdivision and the pronunciation at
// these places, the rest at IPADIC's.
FeatureLayout Layout(std::size_t pos, std::size_t subdivision, std::size_t pronunciation) {
    FeatureLayout layout;
    layout.partOfSpeech = pos;
    layout.subdivision = subdivision;
    layout.pronunciation = pronunciation;
    return layout;
}

bool Installed(const std::string& folder) {
    return ::access((folder + "/sys.dic").c_str(), R_OK) == 0;
}

TEST(FeatureLayoutTest, UniDicNamesItsFieldsAndIpadicNamesNone) {
    // The lines of UniDic's dicrc that name fields: its comment list and a verbose format.
    const std::string unidic = "; List of features\n"
                               "; f[0]:  pos1\n"
                               "; f[9]:  pron\n"
                               "; f[11]: pronBase\n"
                               "output-format-type = unidic22\n"
                               "node-format-verbose = surface:%m\\tpos1:%f[0]\\tpos2:%f[1]\\t"
                               "lemma:%f[7]\\torth:%f[8]\\tpron:%f[9]\\tpronBase:%f[11]\\n\n";
    FeatureLayout named = Layout(0, 1, 9);
    named.baseForm = 7; // lemma
    EXPECT_EQ(FeatureLayoutOf(unidic), named);
    // Either way of naming is enough; a name is matched whole, never as a part of another.
    EXPECT_EQ(FeatureLayoutOf("; f[12]: pron\n; f[3]: pos1\n; f[4]: pos2\r\n").pronunciation, 12u);
    EXPECT_EQ(FeatureLayoutOf("; f[3]: pos1\n; f[4]: pos2\n; f[12]: pron\n"), Layout(3, 4, 12));
    EXPECT_EQ(FeatureLayoutOf("node-format-x = pronBase:%f[11] xpron:%f[5]\n; f[2]: pronBase\n"),
              FeatureLayout{});
    // IPADIC's and NAIST-jdic's dicrc (their formats use the fields by number only).
    const std::string ipadic = "cost-factor = 800\n"
                               "bos-feature = BOS/EOS,*,*,*,*,*,*,*,*\n"
                               "node-format-yomi = %pS%f[7]\n"
                               "node-format-chasen = %m\\t%f[7]\\t%f[6]\\t%F-[0,1,2,3]\\n\n";
    EXPECT_EQ(FeatureLayoutOf(ipadic), Layout(0, 1, 8));
    EXPECT_EQ(FeatureLayoutOf(""), Layout(0, 1, 8));
    EXPECT_EQ(FeatureLayoutOf("; f[x]: pron\n; f[99999999999999999999999]: pron\n"),
              FeatureLayout{});
}

TEST(FeatureLayoutTest, AccentFieldsWhereTheDictionaryNamesThem) {
    // The dicrc written for the Open JTalk dictionary names its three accent fields.
    const FeatureLayout ojt =
        FeatureLayoutOf("; f[9]: accent\n; f[10]: accentRule\n; f[11]: chainFlag\n");
    EXPECT_EQ(ojt.accent, 9u);
    EXPECT_EQ(ojt.accentRule, 10u);
    EXPECT_EQ(ojt.chainFlag, 11u);
    EXPECT_EQ(ojt.pronunciation, 8u);
    EXPECT_FALSE(ojt.accentType);
    // UniDic's: aType, aConType, aModType, the other fields by name.
    const FeatureLayout unidic = FeatureLayoutOf(
        "; f[0]: pos1\n; f[4]: cType\n; f[9]: pron\n; f[23]: aType\n; f[24]: aConType\n"
        "; f[25]: aModType\n");
    EXPECT_EQ(unidic.accentType, 23u);
    EXPECT_EQ(unidic.accentConnection, 24u);
    EXPECT_EQ(unidic.accentModification, 25u);
    EXPECT_FALSE(unidic.accent);
    EXPECT_FALSE(FeatureLayoutOf("").accent);
}

TEST(FeatureLayoutTest, FeatureFieldsSplitAtCommasOutsideQuotes) {
    using Fields = std::vector<std::string>;
    EXPECT_EQ(SplitFeature("名詞,数,*,*", 10), (Fields{"名詞", "数", "*", "*"}));
    EXPECT_EQ(SplitFeature("a,\"1,0\",\"say \"\"hi\"\"\",,b", 10),
              (Fields{"a", "1,0", "say \"hi\"", "", "b"}));
    EXPECT_EQ(SplitFeature("a,b,c,d", 2), (Fields{"a", "b"}));
    EXPECT_EQ(SplitFeature("", 3), (Fields{""}));
    EXPECT_EQ(SplitFeature("\"unclosed,", 3), (Fields{"unclosed,"}));
}

// The automatic reading over the dictionary in folder.
class DictionaryReading {
public:
    explicit DictionaryReading(const std::string& folder) {
        std::string error;
        m_analyzer = OpenMecabAnalyzer(folder, error);
        EXPECT_NE(m_analyzer, nullptr) << error;
    }
    bool Loaded() const { return m_analyzer != nullptr; }

    std::string Read(const std::string& utf8) {
        const std::string bytes = Sjis(utf8);
        result = ConvertAutomatic(reinterpret_cast<const unsigned char*>(bytes.data()),
                                  bytes.size(), dic.View(), *m_analyzer, reading, source);
        return std::string(reinterpret_cast<const char*>(reading), result.length);
    }
    std::string RangeOf(std::size_t i) const {
        return std::to_string(source[i].begin) + "-" + std::to_string(source[i].end);
    }

    ReadingResult result;
    unsigned char reading[kReadingBufferSize];
    SourceRange source[kReadingBufferSize];

private:
    Dictionary dic; // the built-in rows alone
    std::unique_ptr<Analyzer> m_analyzer;
};

// A text and a part of the reading it must give.
struct HeardCase {
    const char* text;
    const char* heard;
};

// Every case read over every installed dictionary holds its heard part.
template <std::size_t N> void ExpectHeardOnEveryDictionary(const HeardCase (&cases)[N]) {
    for (const std::string& folder :
         {std::string(kDefaultAnalyzerDictionary), std::string(kNaistJdic), std::string(kUniDic),
          std::string(kOpenJTalk)}) {
        if (!Installed(folder)) {
            continue;
        }
        DictionaryReading r(folder);
        ASSERT_TRUE(r.Loaded());
        for (const HeardCase& c : cases) {
            SCOPED_TRACE(folder + ": " + c.text);
            const std::string heard = r.Read(c.text);
            EXPECT_NE(heard.find(Sjis(c.heard)), std::string::npos) << ToHex(heard);
        }
    }
}

TEST(AnalyzerDictionariesTest, EveryDictionaryReadsWordsParticlesAndNumbers) {
    for (const std::string& folder :
         {std::string(kDefaultAnalyzerDictionary), std::string(kNaistJdic), std::string(kUniDic),
          std::string(kOpenJTalk)}) {
        if (!Installed(folder)) {
            continue; // only IPADIC is a dependency; the others are measured where installed
        }
        SCOPED_TRACE(folder);
        DictionaryReading r(folder);
        ASSERT_TRUE(r.Loaded());
        EXPECT_EQ(ToHex(r.Read("私は東京へ行った")), ToHex(Sjis("ﾜﾀｼﾜﾄｵｷｮｵｴｲｯﾀ")));
        // A numeral (名詞,数 in IPADIC, 名詞,数詞 in UniDic) goes to the number reading.
        EXPECT_EQ(ToHex(r.Read("三匹の猫")), ToHex(Sjis("ｻﾝﾋﾞｷﾉﾈｺ")));
        EXPECT_EQ(ToHex(r.Read("2026年です")), ToHex(Sjis("ﾆｾﾝﾆｼﾞｭｳﾛｸﾈﾝﾃﾞｽ")));
    }
}

// Words whose reading the words beside them decide, the same with every dictionary: each case
// says the reading heard for the sentence, or a part of it.
TEST(AnalyzerDictionariesTest, WordsAreReadAsTheWordsBesideThemSay) {
    const HeardCase kCases[] = {
        // 間 after an adjective, の, a demonstrative or a verb is a span, あいだ; a room after a
        // count of mats is ま.
        {"二人は長い間黙っていた", "ﾅｶﾞｲｱｲﾀﾞﾀﾞﾏｯﾃ"},
        {"山と川の間に村がある", "ﾉｱｲﾀﾞﾆﾑﾗ"},
        {"この間の話は忘れた", "ｺﾉｱｲﾀﾞﾉ"},
        {"話をしている間中、雨が降った", "ｲﾙｱｲﾀﾞｼﾞｭｳ"},
        {"八畳の間に通された", "ｼﾞｮｵﾉﾏﾆﾄｵ"},
        // 上る after a verb's stem, in one word or two, is あがる.
        {"猫は塀の上へ跳び上った", "ﾄﾋﾞｱｶﾞｯﾀ"},
        {"子供が立ち上る", "ﾀﾁｱｶﾞﾙ"},
        {"京の都に上った", "ﾐﾔｺﾆﾉﾎﾞｯﾀ"},
        // 外 after a verb is ほか; alone it is そと.
        {"待つ外に手はない", "ﾏﾂﾎｶﾆ"},
        {"外に出た", "ｿﾄﾆﾃﾞﾀ"},
        // 都 after a name stays と.
        {"東京都に住む", "ﾄｵｷｮｵﾄﾆ"},
        // 銭 after a number is the unit, alone it is money; 行っ of 行く, 言っ as いっ.
        {"三十銭の銭もない", "ｻﾝｼﾞｭｯｾﾝﾉｾﾞﾆﾓ"},
        {"学校へ行った", "ｶﾞｯｺｵｴｲｯﾀ"},
        {"彼はそう言った", "ｿｵｲｯﾀ"},
        // 一寸 after a measure of size is a length; 御 before a verb's stem is お.
        {"幅一寸ほどの紐", "ﾊﾊﾞｲｯｽﾝﾎﾄﾞ"},
        {"高さ一寸の人形", "ﾀｶｻｲｯｽﾝﾉ"},
        {"一寸待って下さい", "ﾁｮｯﾄﾏｯﾃ"},
        {"暫く御待ち下さい", "ｵﾏﾁ"},
        {"御飯を食べる", "ｺﾞﾊﾝ"},
        // Words standing alone: 光 before a particle, 他 before の は but not in その他, 身体 and
        // 米 before a particle, 居 before り, 何 before と and の (not を), 云い, a katakana ヴ,
        // and
        // 行っ after を (行う).
        {"太陽の光が眩しい", "ﾉﾋｶﾘｶﾞ"},
        {"光を当てる", "ﾋｶﾘｦ"},
        {"他の人に聞く", "ﾎｶﾉﾋﾄ"},
        {"その他の件", "ｿﾉﾀﾉ"},
        {"他はオフになる", "ﾎｶﾜ"},
        // 行 alone is a line; 値 is あたい; 子 after a verbal noun is し.
        {"末尾の行を表示する", "ﾏﾂﾋﾞﾉｷﾞｮｵｦ"},
        {"最終行は短い", "ｻｲｼｭｳｷﾞｮｵﾜ"},
        {"値を返す", "ｱﾀｲｦ"},
        {"拡張子で終わる", "ｶｸﾁｮｵｼﾃﾞ"},
        {"身体に熱が出た", "ｶﾗﾀﾞﾆ"},
        {"雄の羽は長い", "ｵｽﾉﾊﾈ"},
        {"英雄の話", "ﾕｳﾉﾊﾅｼ"},
        {"今年は米がよく取れた", "ｺﾒｶﾞ"},
        {"ここで待って居ります", "ｵﾘﾏｽ"},
        {"何とかなる", "ﾅﾝﾄｶ"},
        {"何の用もない", "ﾅﾝﾉﾖ"},
        {"何を言う", "ﾅﾆｦ"},
        {"楼の上からさす火の光が", "ﾋﾉﾋｶﾘｶﾞ"},
        {"そう云いながら歩く", "ｲｲﾅｶﾞﾗ"},
        {"デンヴァーへ行く", "ﾃﾞﾝｳﾞｧ"},
        {"マウントを行っている", "ｦｵｺﾅｯﾃ"},
        // 後 after a span is ご, before に at a clause's start のち, after a span and の のち;
        // after a name and の it stays あと.
        {"後に破談になった", "ﾉﾁﾆﾊﾀﾞﾝ"},
        {"これは、後に述べる", "ﾉﾁﾆﾉﾍﾞﾙ"},
        {"卒業後に就職した", "ｿﾂｷﾞｮｵｺﾞﾆ"},
        {"数年の後に戻った", "ﾈﾝﾉﾉﾁﾆ"},
        // 人 after a verbal noun is にん, after other nouns じん; 日本 is にほん, 日本一 not.
        {"告発人の方に向いた", "ｺｸﾊﾂﾆﾝﾉ"},
        {"現代人の悩み", "ｹﾞﾝﾀﾞｲｼﾞﾝﾉ"},
        {"日本の食べ物", "ﾆﾎﾝﾉ"},
        {"日本人が住む", "ﾆﾎﾝｼﾞﾝｶﾞ"},
        {"日本一の山", "ﾆｯﾎﾟﾝｲﾁ"},
        // The formal noun 上 after a verb is うえ, じょう after a noun; 方 after a verb is a
        // person before は and です, a comparison before が; 川 after a name is がわ, 仕掛け
        // after a noun じかけ.
        {"作曲をする上で大事だ", "ｽﾙｳｴﾃﾞ"},
        {"マシン上で動く", "ﾏｼﾝｼﾞｮｵﾃﾞ"},
        {"そう思う方は読んで", "ｵﾓｳｶﾀﾜ"},
        {"理解できる方です", "ﾃﾞｷﾙｶﾀﾃﾞｽ"},
        {"相談した方がいい", "ｼﾀﾎｵｶﾞ"},
        // 方 ending the text has no word after it to ask (one was read past the last word).
        {"できる方", "ﾃﾞｷﾙﾎｵ"},
        {"さびれ方", "ｻﾋﾞﾚｶﾀ"},
        {"ラーン川の北側", "ﾗｱﾝｶﾞﾜﾉ"},
        {"織田家の人々", "ｵﾀﾞｹﾉ"},
        {"ハプスブルク家の人々", "ｸｹﾉ"},
        {"音楽家の話", "ｶﾞｸｶﾉ"},
        {"ばね仕掛けの人形", "ﾊﾞﾈｼﾞｶｹﾉ"},
        {"プレハブ小屋の中", "ﾌﾞｺﾞﾔﾉ"},
        {"睡眠不足になる", "ｽｲﾐﾝﾌﾞｿｸ"},
        {"今年桜が咲いた", "ｺﾄｼｻｸﾗｶﾞ"},
        {"不足している", "ﾌｿｸｼﾃ"},
        {"兄弟喧嘩をした", "ｷｮｵﾀﾞｲｹﾞﾝｶ"},
        {"勉強部屋で寝る", "ｷｮｵﾍﾞﾔ"},
        {"祭り太鼓が響く", "ﾏﾂﾘﾀﾞｲｺ"},
        {"音楽好きな人", "ｶﾞｸｽﾞｷ"},
        {"これ好きだ", "ｺﾚｽｷ"},
        {"その部屋に入る", "ｿﾉﾍﾔ"},
        // 館 alone before a particle is やかた, in a compound かん.
        {"墓は館にあった", "ﾊｶﾜﾔｶﾀﾆ"},
        {"図書館に行く", "ﾄｼｮｶﾝﾆ"},
        // 他 of 他の (one word of the Open JTalk dictionary) and 他ならない is ほか.
        {"他のものは要らない", "ﾎｶﾉﾓﾉﾜ"},
        {"守ることに他ならない", "ﾎｶﾅﾗﾅｲ"},
        {"その他のもの", "ｿﾉﾀﾉﾓﾉ"},
        // 言う ending a word is ゆう (という, 言う), its other forms keep い.
        {"来るという話", "ﾄﾕｳﾊﾅｼ"},
        {"こういう事だ", "ﾕｳｺﾄﾀﾞ"},
        {"彼が言うには", "ｶﾞﾕｳﾆﾜ"},
        {"彼が言いながら", "ｶﾞｲｲﾅｶﾞﾗ"},
        // A counter after 何 changes its sound as after ん.
        {"何分かの後", "ﾅﾝﾌﾟﾝｶ"},
        {"何本も飲んだ", "ﾅﾝﾎﾞﾝﾓ"},
        {"何杯も飲んだ", "ﾅﾝﾊﾞｲﾓ"},
        {"何匹もいた", "ﾅﾝﾋﾞｷﾓ"},
    };
    ExpectHeardOnEveryDictionary(kCases);
    // IPADIC reads these otherwise on its own (金 キン, 行っ オコナッ): an object with を keeps
    // 行う, and 金 before の may be gold.
    DictionaryReading ipadic{std::string(kDefaultAnalyzerDictionary)};
    EXPECT_EQ(ToHex(ipadic.Read("父は金に困った")), ToHex(Sjis("ﾁﾁﾜｶﾈﾆｺﾏｯﾀ")));
    EXPECT_EQ(ToHex(ipadic.Read("金の指輪")), ToHex(Sjis("ｷﾝﾉﾕﾋﾞﾜ")));
    EXPECT_EQ(ToHex(ipadic.Read("車で行っても")), ToHex(Sjis("ｸﾙﾏﾃﾞｲｯﾃﾓ")));
    EXPECT_EQ(ToHex(ipadic.Read("調査を行った")), ToHex(Sjis("ﾁｮｵｻｦｵｺﾅｯﾀ")));
}

// A run of kanji the dictionary does not know, one word without a reading, was passed over in
// silence with the known kanji in it (哨県 said nothing of 県): each of its characters is read
// as the dictionary reads it alone, the unknown ones as before.
TEST(AnalyzerDictionariesTest, AKanjiRunTheDictionaryDoesNotKnowIsReadCharacterByCharacter) {
    for (const std::string& folder :
         {std::string(kDefaultAnalyzerDictionary), std::string(kNaistJdic), std::string(kUniDic),
          std::string(kOpenJTalk)}) {
        if (!Installed(folder)) {
            continue;
        }
        SCOPED_TRACE(folder);
        DictionaryReading r(folder);
        ASSERT_TRUE(r.Loaded());
        const std::string heard = r.Read("彼は哨県に住む");
        EXPECT_NE(heard.find(Sjis("ｹﾝﾆｽﾑ")), std::string::npos) << ToHex(heard);
        EXPECT_EQ(heard.find(Sjis("ﾜﾆ")), std::string::npos) << ToHex(heard);
        // 県 keeps its own source bytes, the fourth character's.
        ASSERT_EQ(r.result.length, std::string(Sjis("ｶﾚﾜ ｹﾝﾆｽﾑ")).size()) << ToHex(heard);
        EXPECT_EQ(r.RangeOf(4), "6-8");
    }
}

// Readings the word before or after decides, each beside a case where it does not apply.
TEST(AnalyzerDictionariesTest, NeighboursDecideTheReadingOfKanjiWithTwoCommonReadings) {
    const HeardCase kCases[] = {
        // 時 alone is とき, not the ドキ of 梅雨時 nor ジ.
        {"雨の中で時を待つ", "ﾃﾞﾄｷｦﾏﾂ"},
        {"時が過ぎる", "ﾄｷｶﾞｽｷﾞﾙ"},
        {"時は金なり", "ﾄｷﾜ"},
        // 形 after a compound of two kanji or more is けい; after の it is the word かたち.
        {"楕円形の池がある", "ﾀﾞｴﾝｹｲﾉ"},
        {"命令形は短い", "ｹｲﾜﾐｼﾞｶｲ"},
        {"人の形をした", "ﾋﾄﾉｶﾀﾁｦ"},
        // 描く with a picture or a figure is かく, with another object えがく.
        {"花の絵を描くのが好きだ", "ｴｦｶｸﾉｶﾞ"},
        {"夢を絵に描いたような暮らし", "ｴﾆｶｲﾀ"},
        {"図に描いた線", "ｽﾞﾆｶｲﾀ"},
        {"生活を描いた", "ｦｴｶﾞｲﾀ"},
        // The prefix 大 before a word written with kana is おお, before kanji alone or a short
        // kana word だい.
        {"家族とは大違いだった", "ｵｵﾁｶﾞｲ"},
        {"大成功だった", "ﾀﾞｲｾ"},
        {"大なり記号を使う", "ﾀﾞｲﾅﾘ"},
        // The prefix 今 is こん before a season, a term or a meeting, else the adverb いま.
        {"今シーズンは休む", "ｺﾝｼ"},
        {"今大会で優勝した", "ｺﾝﾀｲｶｲ"},
        {"今ドアが開いた", "ｲﾏﾄﾞｱ"},
        // 間 in 間もない is ま, after a verb otherwise あいだ.
        {"息をつく間もない", "ﾏﾓﾅｲ"},
        {"待っている間に", "ｲﾙｱｲﾀﾞﾆ"},
        // The set phrase 言うまでもない is said ゆう as 言う is.
        {"それは言うまでもない", "ﾕｳﾏﾃﾞﾓﾅｲ"},
        // 抱く with a thought is いだく, with a child だく.
        {"彼は不安を抱いていた", "ｦｲﾀﾞｲﾃ"},
        {"赤ん坊を抱いて歩く", "ｦﾀﾞｲﾃ"},
        {"子供を抱いて歩く", "ｦﾀﾞｲﾃ"},
        // 社 after お or 小さな is a shrine, after わが a company.
        {"山の上のお社に参る", "ｵﾔｼﾛﾆ"},
        {"古い小さな社がある", "ﾅﾔｼﾛｶﾞ"},
        {"わが社の製品", "ｶﾞｼｬﾉ"},
        // 額 alone before a particle is the forehead, after その the sum.
        {"額に汗して働く", "ﾋﾀｲﾆ"},
        {"その額を払う", "ｿﾉｶﾞｸｦ"},
        // 供 alone is an attendant, 語 alone a word, 命 before により an order, 基 after
        // katakana a chemical group, 鬼 after a compound き; 家 after a name a family.
        {"従者を供にして旅に出る", "ｦﾄﾓﾆｼﾃ"},
        {"適切な語がない", "ﾅｺﾞｶﾞ"},
        {"王の命により参上した", "ﾉﾒｲﾆﾖﾘ"},
        {"親の命に従う", "ﾉﾒｲﾆｼﾀｶﾞｳ"},
        {"命を大切にする", "ｲﾉﾁｦ"},
        {"メチル基を持つ", "ﾙｷｦ"},
        {"吸血鬼の話", "ｹﾂｷﾉ"},
        {"赤鬼が来た", "ｱｶｵﾆ"},
        {"徳川家の人々", "ｶﾞﾜｹﾉ"},
        {"墨家の思想", "ｶﾉｼｿ"},
        // Words the Open JTalk dictionary reads by a rarer reading where they stand alone:
        // 垂れる, 宿す, 数える after a number, 妃.
        {"枝が垂れる", "ｶﾞﾀﾚﾙ"},
        {"心に希望を宿す", "ｦﾔﾄﾞｽ"},
        {"百数えたら出ておいで", "ﾋｬｸｶｿﾞｴ"},
        {"妃が庭を歩く", "ｷｻｷｶﾞ"},
        {"皇太子妃が来た", "ｼﾋｶﾞ"},
        // 仏 alone is the Buddha, 我 before を われ, 所為 せい, 逆だった ぎゃく.
        {"祖先や仏に祈る", "ﾔﾎﾄｹﾆ"},
        {"怒りに我を忘れた", "ﾆﾜﾚｦﾜｽﾚ"},
        {"雨の所為か寒い", "ﾉｾ"},
        {"順番が逆だった", "ｶﾞｷﾞｬｸﾀﾞｯﾀ"},
        // 目 after a longer katakana name is an order of living things, もく.
        {"ゼニゴケ目に属する", "ｺﾞｹﾓｸﾆ"},
        {"ミシン目を入れる", "ｼﾝﾒｦ"},
    };
    ExpectHeardOnEveryDictionary(kCases);
}

// 言う is one reading for every voice: the reading pane and the recorded samples say what the
// automatic reading says, the natural voice what its labels' words say, and both come from the
// same analysis, without the natural voice's own rule for it (--accent-rules none).
TEST(AnalyzerDictionariesTest, IuIsSaidAlikeByTheReadingAndTheNaturalVoice) {
    for (const std::string& folder :
         {std::string(kDefaultAnalyzerDictionary), std::string(kNaistJdic), std::string(kUniDic),
          std::string(kOpenJTalk)}) {
        if (!Installed(folder)) {
            continue;
        }
        SCOPED_TRACE(folder);
        std::string error;
        const std::unique_ptr<Analyzer> analyzer = OpenMecabAnalyzer(folder, error);
        ASSERT_NE(analyzer, nullptr) << error;
        const std::string text = "来るという話を彼が言った";
        labels::Labeler labeler(*analyzer, labels::AccentRules::None());
        std::vector<labels::LabelWord> words;
        ASSERT_TRUE(labeler.Words(text, words));
        std::string said;
        for (const labels::LabelWord& w : words) {
            said += w.pronunciation;
        }
        EXPECT_NE(said.find("トユー"), std::string::npos) << said;
        EXPECT_NE(said.find("イッタ"), std::string::npos) << said;
        DictionaryReading r(folder);
        EXPECT_NE(r.Read(text).find(Sjis("ﾄﾕｳﾊﾅｼ")), std::string::npos);
        EXPECT_NE(r.Read(text).find(Sjis("ｲｯﾀ")), std::string::npos);
    }
}

TEST(AnalyzerDictionariesTest, LatinWordsTheDictionaryKnowsAreReadAsWords) {
    if (!Installed(kUniDic)) {
        GTEST_SKIP() << "UniDic (unidic-mecab) is not installed";
    }
    DictionaryReading r(kUniDic);
    ASSERT_TRUE(r.Loaded());
    EXPECT_EQ(ToHex(r.Read("Googleで探す")), ToHex(Sjis("ｸﾞｳｸﾞﾙﾃﾞｻｶﾞｽ")));
    EXPECT_EQ(r.RangeOf(0), "0-6"); // the whole word
    EXPECT_EQ(r.RangeOf(5), "0-6");
    EXPECT_EQ(ToHex(r.Read("kernel")), ToHex(Sjis("ｶｱﾈﾙ")));
    EXPECT_EQ(ToHex(r.Read("ｗｒｉｔｅ")), ToHex(Sjis("ﾗｲﾄ"))); // full-width letters too
    // A word it does not know, and a single letter, are spelled as before.
    EXPECT_EQ(ToHex(r.Read("Xq")), ToHex(Sjis("ｴｯｸｽｷｭｳ")));
    EXPECT_EQ(ToHex(r.Read("a")), ToHex(Sjis("ｴｲ")));
}

TEST(AnalyzerDictionariesTest, OpenJTalkDictionaryLoadsWithoutDicrc) {
    const std::string folder = "/var/lib/mecab/dic/open-jtalk/naist-jdic";
    if (!Installed(folder)) {
        GTEST_SKIP() << "the Open JTalk dictionary (open-jtalk-mecab-naist-jdic) is not installed";
    }
    std::string error;
    const std::unique_ptr<Analyzer> analyzer = OpenMecabAnalyzer(folder, error);
    ASSERT_NE(analyzer, nullptr) << error;
    const FeatureLayout layout = analyzer->Layout();
    ASSERT_TRUE(layout.accent);
    std::vector<AnalyzedWord> words;
    ASSERT_TRUE(analyzer->Analyze("雨が降る", words));
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[0].pronunciation, "アメ");
    const std::vector<std::string> fields = SplitFeature(words[0].feature, 16);
    ASSERT_GT(fields.size(), *layout.accent);
    EXPECT_EQ(fields[*layout.accent], "1/2"); // ア]メ
    EXPECT_EQ(words[2].partOfSpeech, "動詞");
    // A folder with none of the files is still an error.
    EXPECT_EQ(OpenMecabAnalyzer("/nonexistent-folder", error), nullptr);
}

TEST(AnalyzerDictionariesTest, TheOpenJTalkDictionaryIsTheDefaultBeforeIpadic) {
    if (Installed(kUniDic) || !Installed(std::string(kOpenJTalk))) {
        GTEST_SKIP() << "needs the Open JTalk dictionary without UniDic";
    }
    // Neither the environment nor the settings name a folder: a new user's analyzer. It reads
    // literature better than IPADIC, which says 二人暮し without its voiced ぐ.
    const char* env = std::getenv(kAnalyzerDictionaryVariable);
    const bool hadEnv = env != nullptr;
    const std::string saved = hadEnv ? env : "";
    ::unsetenv(kAnalyzerDictionaryVariable);
    AnalyzerLoader loader;
    EXPECT_EQ(loader.DictionaryFolder(), kOpenJTalk);
    std::string error;
    Analyzer* analyzer = loader.Get(error);
    if (hadEnv) {
        ::setenv(kAnalyzerDictionaryVariable, saved.c_str(), 1);
    }
    ASSERT_NE(analyzer, nullptr) << error;
    std::vector<AnalyzedWord> words;
    ASSERT_TRUE(analyzer->Analyze("二人暮しだ", words));
    std::string heard;
    for (const AnalyzedWord& w : words) {
        heard += w.pronunciation;
    }
    EXPECT_NE(heard.find("グラシ"), std::string::npos) << heard;
}

TEST(AnalyzerDictionariesTest, LatinWordsIpadicDoesNotKnowAreSpelled) {
    DictionaryReading r{std::string(kDefaultAnalyzerDictionary)};
    ASSERT_TRUE(r.Loaded());
    EXPECT_EQ(ToHex(r.Read("kernel")), ToHex(Sjis("ｹｲｲｲｱｱﾙｴﾇｲｲｴﾙ")));
}

TEST(ExtensionCharsTest, TheTableMapsCharactersBeyondJisX0208ToJisX0208) {
    const auto forms = ExtensionForms();
    ASSERT_FALSE(forms.empty());
    for (std::size_t k = 0; k < forms.size(); ++k) {
        const ExtensionForm& f = forms[k];
        SCOPED_TRACE(f.utf8);
        if (k > 0) {
            EXPECT_LT(forms[k - 1].c, f.c); // sorted, each once
        }
        // The character is one that code page 932 has beyond JIS X 0208: the NEC row 13 (0x87),
        // the NEC-selected IBM extensions (0xED, 0xEE) or the IBM extensions (0xFA-0xFC).
        const std::uint16_t code = Cp932CodeOf(f.c);
        const unsigned lead = code >> 8;
        EXPECT_TRUE(lead == 0x87 || lead == 0xED || lead == 0xEE || (lead >= 0xFA && lead <= 0xFC))
            << std::hex << code;
        // Its form is ASCII digits or characters of JIS X 0208.
        const std::u16string form = DecodeUtf8(f.utf8);
        ASSERT_FALSE(form.empty());
        for (const char16_t c : form) {
            const std::uint16_t fc = Cp932CodeOf(c);
            const unsigned fl = fc >> 8;
            EXPECT_TRUE((c >= u'0' && c <= u'9') || (fl >= 0x81 && fl <= 0x84) ||
                        (fl >= 0x88 && fl <= 0x9F) || (fl >= 0xE0 && fl <= 0xEA))
                << std::hex << static_cast<unsigned>(c);
        }
        EXPECT_EQ(ExtensionCharForm(f.c), f.utf8);
    }
    EXPECT_EQ(ExtensionCharForm(u'高'), ""); // a character of JIS X 0208 is read as it is
    EXPECT_EQ(ExtensionCharForm(u'α'), "");
}

TEST(ExtensionCharsTest, CircledNumbersVariantKanjiAndSquaredWordsAreRead) {
    DictionaryReading r{std::string(kDefaultAnalyzerDictionary)};
    ASSERT_TRUE(r.Loaded());
    // ① and ② are numbers, each still tied to its own two bytes.
    EXPECT_EQ(ToHex(r.Read("①と②")), ToHex(Sjis("ｲﾁﾄﾆ")));
    EXPECT_EQ(r.RangeOf(0), "0-2");
    EXPECT_EQ(r.RangeOf(1), "0-2");
    EXPECT_EQ(r.RangeOf(2), "2-4");
    EXPECT_EQ(r.RangeOf(3), "4-6");
    // A number with its counter: ⑳日 as the twentieth day, Ⅱ章 as the second chapter.
    EXPECT_EQ(ToHex(r.Read("⑳日")), ToHex(Sjis("ﾊﾂｶ")));
    EXPECT_EQ(r.RangeOf(0), "0-4");
    EXPECT_EQ(ToHex(r.Read("第Ⅱ章")), ToHex(Sjis("ﾀﾞｲﾆｼｮｳ")));
    // 髙 and 﨑 (IBM extensions) read as 高 and 崎 in the words around them.
    EXPECT_EQ(ToHex(r.Read("髙橋さん")), ToHex(Sjis("ﾀｶﾊｼｻﾝ")));
    EXPECT_EQ(r.RangeOf(0), "0-4");
    EXPECT_EQ(ToHex(r.Read("宮﨑")), ToHex(Sjis("ﾐﾔｻﾞｷ")));
    // A form of several words: ㈲ is 有限 and 会社 to the analyzer, one word of two bytes here.
    EXPECT_EQ(ToHex(r.Read("㈲")), ToHex(Sjis("ﾕｳｹﾞﾝｶｲｼｬ")));
    for (std::size_t i = 0; i < r.result.length; ++i) {
        EXPECT_EQ(r.RangeOf(i), "0-2") << i;
    }
    // A form the analyzer does not know is read by its kana: 5 キロメートル.
    EXPECT_EQ(ToHex(r.Read("5㎞")), ToHex(Sjis("ｺﾞｷﾛﾒｴﾄﾙ")));
}

} // namespace
} // namespace yomi6
