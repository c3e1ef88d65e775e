// The automatic reading of Aozora notation with the real analyzer: a ruby is said for its base,
// with the base's bytes as its source, the words around it still analysed in their sentence;
// notes, the notation block and the colophon silent; a gaiji handed to the analyzer as its
// character; every ruby of the test files read as its ruby; and the dictionary reading untouched.
#include "analysis/mecab_analyzer.h"
#include "aozora/aozora_notation.h"
#include "dictionary/dic_tables.h"
#include "reading/automatic_reading.h"
#include "reading/fixed_words.h"
#include "reading/text_reader.h"
#include "support/sjis.h"
#include "support/temp_dir.h"
#include "support/test_reading.h"
#include "text/cp932_codec.h"
#include "text/halfwidth_kana.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace yomi6 {
namespace {

using test::Sjis;
using test::ToHex;

class AozoraReadingTest : public ::testing::Test {
protected:
    // The analyzer is opened for each test (MeCab maps the dictionary, which takes no time).
    void SetUp() override {
        std::string error;
        m_mecab = OpenMecabAnalyzer(std::string(kDefaultAnalyzerDictionary), error);
        ASSERT_NE(m_mecab, nullptr) << error;
    }

    // The reading of bytes read as Aozora notation (or not), with analyzer.
    std::string Read(const std::string& bytes, bool aozora = true, Analyzer* analyzer = nullptr) {
        const AozoraNotation notation = ParseAozoraNotation(bytes);
        result =
            ConvertAutomatic(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                             dic.View(), analyzer != nullptr ? *analyzer : *m_mecab, reading,
                             source, aozora ? &notation : nullptr);
        for (std::size_t i = 1; i < result.length; ++i) {
            if (!(source[i] == source[i - 1])) {
                EXPECT_GE(source[i].begin, source[i - 1].end) << "byte " << i;
            }
        }
        return std::string(reinterpret_cast<const char*>(reading), result.length);
    }

    // The reading bytes whose source is exactly [begin, end).
    std::string ReadingOf(std::size_t begin, std::size_t end) const {
        std::string out;
        for (std::size_t i = 0; i < result.length; ++i) {
            if (source[i].begin == begin && source[i].end == end) {
                out.push_back(static_cast<char>(reading[i]));
            }
        }
        return out;
    }

    std::unique_ptr<Analyzer> m_mecab;
    test::TestReading run; // the built-in rows alone
    Dictionary& dic = run.dictionary;
    unsigned char reading[kReadingBufferSize];
    SourceRange source[kReadingBufferSize];
    ReadingResult result;
};

#define EXPECT_KANA(actual, kana) EXPECT_EQ(ToHex(actual), ToHex(Sjis(kana)))

TEST_F(AozoraReadingTest, TheRubyIsSaidForItsBaseAndTheBaseIsItsSource) {
    const std::string text = Sjis("彼は東海林《しょうじ》さんと言った");
    EXPECT_KANA(Read(text), "ｶﾚﾜｼｮｳｼﾞｻﾝﾄｲｯﾀ");
    const std::size_t base = Sjis("彼は").size();
    EXPECT_KANA(ReadingOf(base, base + Sjis("東海林").size()), "ｼｮｳｼﾞ");
    // Without the notation the ruby is read twice over (the base by the analyzer).
    EXPECT_NE(ToHex(Read(text, false)), ToHex(Sjis("ｶﾚﾜｼｮｳｼﾞｻﾝﾄｲｯﾀ")));
}

TEST_F(AozoraReadingTest, BarBasesDigitsAndLettersIncludedAreOneWord) {
    const std::string text =
        Sjis("｜Ｘ線《エックスせん》を見た。一番｜獰悪《どうあく》な3日《みっか》");
    EXPECT_KANA(Read(text), "ｴｯｸｽｾﾝｦﾐﾀ-ｲﾁﾊﾞﾝﾄﾞｳｱｸﾅｻﾝﾐｯｶ");
    const std::size_t x = Sjis("｜").size();
    EXPECT_KANA(ReadingOf(x, x + Sjis("Ｘ線").size()), "ｴｯｸｽｾﾝ");
}

TEST_F(AozoraReadingTest, TheWordsAroundARubyAreAnalysedInTheirSentence) {
    // 行った after a ruby: analysed with the ruby's word before it, it is the verb 行く (ｲｯﾀ), as
    // it would be after any noun.
    EXPECT_KANA(Read(Sjis("東京《とうきょう》へ行った")), "ﾄｳｷｮｳｴｲｯﾀ");
    EXPECT_KANA(Read(Sjis("人々《ひとびと》は関ヶ原《せきがはら》へ")), "ﾋﾄﾋﾞﾄﾜｾｷｶﾞﾊﾗｴ");
}

// An analyzer that takes every character as a word and ignores the fixed words, as a stand-in
// for one that cannot keep them whole.
class CharAnalyzer : public Analyzer {
public:
    bool Analyze(std::string_view utf8, std::vector<AnalyzedWord>& words) override {
        seen.emplace_back(utf8);
        words.clear();
        for (std::size_t i = 0; i < utf8.size();) {
            const auto b = static_cast<unsigned char>(utf8[i]);
            const std::size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
            AnalyzedWord word;
            word.begin = i;
            word.end = i + n;
            words.push_back(word);
            i += n;
        }
        return true;
    }
    bool AnalyzeAround(std::string_view utf8, const std::vector<Utf8Span>&,
                       std::vector<AnalyzedWord>& words) override {
        return Analyze(utf8, words);
    }
    std::vector<std::string> seen;
};

TEST_F(AozoraReadingTest, ARubysBaseStaysWholeWhateverTheAnalyzerDoes) {
    CharAnalyzer chars;
    EXPECT_KANA(Read(Sjis("あ東海林《しょうじ》い"), true, &chars), "ｱｼｮｳｼﾞｲ");
    std::vector<AnalyzedWord> words;
    ASSERT_TRUE(AnalyzeWithFixedWords(chars, "abcd", {{1, 3}}, words));
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[1].begin, 1u);
    EXPECT_EQ(words[1].end, 3u);
}

TEST_F(AozoraReadingTest, AGaijiReachesTheAnalyzerAsItsCharacterAndMapsToItsNote) {
    CharAnalyzer chars;
    const std::string text =
        Sjis("森※［＃「區＋鳥」、第3水準1-94-69］外と※［＃「口＋世」、ページ数-行数］の");
    Read(text, true, &chars);
    ASSERT_FALSE(chars.seen.empty());
    // The silent note between と and の is gone, and 鷗 is analysed as its common form 鴎.
    EXPECT_EQ(chars.seen[0], "森鴎外との");
    const std::size_t note = Sjis("森").size();
    const std::size_t noteEnd = Sjis("森※［＃「區＋鳥」、第3水準1-94-69］").size();
    EXPECT_FALSE(ReadingOf(note, noteEnd).empty()); // its tick, a blank for a word unknown here
    // The note without a code is silent: nothing maps to it.
    const std::size_t silentBegin = Sjis("森※［＃「區＋鳥」、第3水準1-94-69］外と").size();
    for (std::size_t i = 0; i < result.length; ++i) {
        EXPECT_FALSE(source[i].begin >= silentBegin && source[i].begin < silentBegin + 10);
    }
}

TEST_F(AozoraReadingTest, ATraditionalFormIsReadAsItsCommonFormWithTheNoteAsItsSource) {
    // 鷗 (1-94-69) and 頰 (1-93-90) are unknown to the dictionary in these forms.
    const std::string gull = Sjis("※［＃「區＋鳥」、第3水準1-94-69］外の小説を読む");
    EXPECT_KANA(Read(gull), "ｵｵｶﾞｲﾉｼｮｵｾﾂｦﾖﾑ"); // a long o is said ｵｵ
    EXPECT_EQ(source[0].begin, 0u);
    EXPECT_EQ(source[0].end, Sjis("※［＃「區＋鳥」、第3水準1-94-69］外").size());
    const std::string cheek = Sjis("※［＃「夾＋頁」、第3水準1-93-90］を赤くした");
    EXPECT_KANA(Read(cheek), "ﾎｵｦｱｶｸｼﾀ");
}

TEST_F(AozoraReadingTest, NotesTheBlockAndTheColophonAreSilentTheTitleIsRead) {
    const std::string text =
        Sjis("猫\r\n-------------------------------------------------------\r\n"
             "【テキスト中に現れる記号について】\r\n《》：ルビ\r\n"
             "-------------------------------------------------------\r\n"
             "［＃３字下げ］一［＃「一」は中見出し］\r\n底本：全集\r\n入力：誰か\r\n");
    EXPECT_KANA(Read(text), "ﾈｺ\r\nｲﾁ\r\n");
    EXPECT_EQ(result.sourceEnd, text.size());
}

TEST_F(AozoraReadingTest, AWordOfKanjiGivenARubyIsReadByItWhereItRecursAfterIt) {
    // 内供 before its ruby, after it alone, and after it touching another kanji; 上 (one kanji)
    // given a ruby, and again.
    const std::string text =
        Sjis("内供が来た。内供《ないぐ》の鼻。内供は笑った。内供様と上《かみ》の上を見る");
    Read(text);
    const auto at = [&](const char* before) { return Sjis(before).size(); };
    const std::size_t word = Sjis("内供").size();
    EXPECT_NE(ToHex(ReadingOf(0, word)), ToHex(Sjis("ﾅｲｸﾞ")));
    const std::size_t again = at("内供が来た。内供《ないぐ》の鼻。");
    EXPECT_KANA(ReadingOf(again, again + word), "ﾅｲｸﾞ");
    const std::size_t touching = at("内供が来た。内供《ないぐ》の鼻。内供は笑った。");
    EXPECT_NE(ToHex(ReadingOf(touching, touching + word)), ToHex(Sjis("ﾅｲｸﾞ")));
    const std::size_t above =
        at("内供が来た。内供《ないぐ》の鼻。内供は笑った。内供様と上《かみ》の");
    EXPECT_KANA(ReadingOf(above, above + Sjis("上").size()), "ｳｴ");

    // A reading in parts: a glossary kept across them reads the word of an earlier part.
    RubyGlossary rubies;
    const std::string first = Sjis("内供《ないぐ》の鼻。");
    const std::string second = Sjis("内供は笑った。");
    for (const std::string* part : {&first, &second}) {
        const AozoraNotation notation = ParseAozoraNotation(*part);
        result =
            ConvertAutomatic(reinterpret_cast<const unsigned char*>(part->data()), part->size(),
                             dic.View(), *m_mecab, reading, source, &notation, {&rubies});
    }
    EXPECT_KANA(ReadingOf(0, word), "ﾅｲｸﾞ");
    EXPECT_NE(ToHex(Read(second)), ToHex(Sjis("ﾅｲｸﾞﾜﾜﾗｯﾀ"))); // the part alone knows no ruby

    // The whole text's notation with the recurrences as rubies: any part of it, cut out with its
    // notation, reads the word as the whole does, on a later line too, and never before the ruby.
    const std::string whole = text + "\r\n" + second;
    const AozoraNotation enriched = WithRecurringRubies(ParseAozoraNotation(whole), whole);
    ASSERT_EQ(enriched.ruby.size(), 4u); // 内供 given, recurring twice; 上 given
    EXPECT_EQ(enriched.ruby[1].base.begin, again);
    EXPECT_EQ(enriched.ruby[1].reading, "ないぐ");
    const std::size_t later = text.size() + 2;
    EXPECT_EQ(enriched.ruby[3].base.begin, later);
    const AozoraNotation part = NotationWithin(enriched, later, whole.size());
    result = ConvertAutomatic(reinterpret_cast<const unsigned char*>(whole.data() + later),
                              second.size(), dic.View(), *m_mecab, reading, source, &part);
    EXPECT_KANA(ReadingOf(0, word), "ﾅｲｸﾞ");
}

TEST_F(AozoraReadingTest, TheDictionaryReadingIgnoresTheNotation) {
    const std::string text = Sjis("あ《い》");
    unsigned char plain[kReadingBufferSize];
    SourceRange plainSource[kReadingBufferSize];
    ReaderSetup setup = run.Setup();
    setup.aozora = true;
    const ReadingResult withFlag =
        ReadText(reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                 ReadingMode::Dictionary, setup, reading, source);
    const ReadingResult without =
        ConvertWithSourceMap(reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                             dic.View(), plain, plainSource);
    ASSERT_EQ(withFlag.length, without.length);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(reading), withFlag.length),
              std::string(reinterpret_cast<const char*>(plain), without.length));
}

// The half-width reading a ruby stands for, by the dictionary's own kana conversion (a long
// vowel mark sounds as the vowel before it, as the reading says it).
std::string RubyKana(const std::string& utf8) {
    const std::optional<std::string> bytes = HalfWidthReadingBytes(DecodeCp932(Sjis(utf8)));
    return bytes.value_or("?");
}

TEST_F(AozoraReadingTest, EveryRubyOfTheTestFilesIsReadAsItsRuby) {
    std::size_t rubies = 0;
    const std::filesystem::path folder = std::filesystem::path(YOMI6_SOURCE_DIR) / "tests/aozora";
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".txt") {
            continue;
        }
        const std::string text = test::ReadFile(entry.path().string());
        ASSERT_LE(text.size(), kMaxTextBytes) << entry.path();
        ASSERT_NE(text.find("\r\n"), std::string::npos) << entry.path() << " has CR LF line ends";
        Read(text);
        const AozoraNotation notation = ParseAozoraNotation(text);
        for (const RubyWord& r : notation.ruby) {
            ++rubies;
            EXPECT_EQ(ToHex(ReadingOf(r.base.begin, r.base.end)), ToHex(RubyKana(r.reading)))
                << entry.path().filename() << " at byte " << r.base.begin << ": " << r.reading;
        }
    }
    EXPECT_GE(rubies, 24u);
}

} // namespace
} // namespace yomi6
