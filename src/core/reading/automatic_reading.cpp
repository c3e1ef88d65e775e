#include "reading/automatic_reading.h"

#include "analysis/extension_chars.h"
#include "analysis/source_text.h"
#include "aozora/aozora_reading.h"
#include "english/english_reading.h"
#include "reading/fixed_words.h"
#include "reading/kana_folding.h"
#include "reading/long_vowel.h"
#include "reading/number_reading.h"
#include "reading/reading_writer.h"
#include "text/char_classes.h"
#include "text/cp932_codec.h"
#include "text/utf8_codec.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace yomi6 {

namespace {

constexpr std::uint8_t kBlank = 0x20;
constexpr std::uint8_t kHalfLongVowel = 0xB0; // ｰ
constexpr char16_t kLongVowel = 0x30FC;       // ー

bool IsSign(char16_t c) {
    return c == u'+' || c == u'-' || c == 0x2212 || c == 0xFF0B || c == 0xFF0D;
}

// A kana the reading says: hiragana to ゖ, katakana, ー.
bool IsKana(char32_t c) {
    return (IsHiragana(c) && c <= U'ゖ') || IsKatakana(c);
}

// The next code point of UTF-8 s at s[i], advancing i; U+FFFD, one byte on, where no
// well-formed character starts.
char32_t NextCodePoint(std::string_view s, std::size_t& i) {
    const std::string_view rest = s.substr(i);
    i += Utf8Step(rest);
    return FirstUtf8Char(rest).codePoint;
}

// 1日 is a date, ﾂｲﾀﾁ, after a month (8月1日, 毎月 1日) and where it heads a line as a diary's
// date does, with a blank, a bracket or the line's end after it (1日 晴れ, 1日（月）); elsewhere
// it is a day's length, ﾆﾁ (１日の始まり, 丸一日, 一日や一年). before is the text before it,
// after the text after it.
std::string_view DayOrDate(std::string_view before, std::string_view after,
                           std::string_view reading) {
    constexpr std::string_view kFirstOfMonth = "\xC2\xB2\xC0\xC1"; // ﾂｲﾀﾁ
    constexpr std::string_view kOneDay = "\xB2\xC1\xC6\xC1";       // ｲﾁﾆﾁ
    if (reading != kFirstOfMonth) {
        return reading;
    }
    while (before.ends_with(' ') || before.ends_with("\u3000")) {
        before.remove_suffix(before.ends_with(' ') ? 1 : std::string_view("\u3000").size());
    }
    const bool lineHead = before.empty() || before.ends_with('\n') || before.ends_with('\r');
    bool dateAfter = after.empty();
    for (const std::string_view mark : {" ", "\u3000", "\n", "\r", "(", "\uFF08", "[", "\uFF3B"}) {
        dateAfter = dateAfter || after.starts_with(mark);
    }
    return (lineHead && dateAfter) || before.ends_with("月") ? reading : kOneDay;
}

// The reading of a number as the text around it decides: 1日 (see DayOrDate), and 百 and 千
// after 何, voiced as after ん (何百 ﾅﾝﾋﾞｬｸ, 何千 ﾅﾝｾﾞﾝ).
std::string NumberInContext(std::string_view before, std::string_view after,
                            std::string_view reading) {
    constexpr std::string_view kHundred = "\xCB\xAC\xB8"; // ﾋｬｸ
    constexpr std::string_view kThousand = "\xBE\xDD";    // ｾﾝ
    constexpr std::string_view kVoiced = "\xDE";          // ﾞ
    std::string out(DayOrDate(before, after, reading));
    if (before.ends_with("何") && (out.starts_with(kHundred) || out.starts_with(kThousand))) {
        out.insert(1, kVoiced);
    }
    return out;
}

class AutomaticReader {
public:
    AutomaticReader(const unsigned char* text, std::size_t n, const DictionaryView& dic,
                    Analyzer& analyzer, unsigned char (&reading)[kReadingBufferSize],
                    SourceRange (&source)[kReadingBufferSize], const AozoraNotation* notation,
                    const ReadingShared& shared)
        : m_dic(dic), m_analyzer(analyzer), m_out(reading, source), m_n(n),
          m_otherwise(shared.readOtherwise), m_english(shared.english), m_notation(notation) {
        if (n > 0) {
            std::memcpy(m_text, text, n);
        }
        DecodeSource(m_text, n, m_source);
        if (notation != nullptr) {
            m_ruby = ApplyNotation(*notation, m_source);
            RubyGlossary own; // the rubies of this text alone
            ReadRecurringBases(m_source, m_ruby, shared.rubies != nullptr ? *shared.rubies : own);
        }
    }

    ReadingResult Run() {
        std::size_t i = 0;
        const std::size_t count = m_source.chars.size();
        while (i < count && !m_full) {
            i = ReadFrom(i);
        }
        return {m_out.Length(), m_full ? m_stop : m_n};
    }

private:
    // Reads what starts at character i; returns the character after it.
    std::size_t ReadFrom(std::size_t i) {
        const SourceChar& c = m_source.chars[i];
        if (m_ruby.StartsBase(i) && !IsJapaneseBase(i)) {
            return ReadRuby(i);
        }
        if (const std::size_t end = m_ruby.InBase(i) ? 0 : UserWordEnd(i); end != 0) {
            return end;
        }
        if (c.kind == CharKind::Digit || (IsSign(c.ch) && i + 1 < m_source.chars.size() &&
                                          m_source.chars[i + 1].kind == CharKind::Digit)) {
            if (const std::size_t end = ReadNumberAt(i); end > i) {
                return end;
            }
        }
        if (c.kind == CharKind::Japanese) {
            return ReadRun(i);
        }
        if (c.kind == CharKind::Letter) {
            return ReadLatinRun(i);
        }
        m_piece.clear();
        AppendByRules(i);
        Emit(i, i + 1, InOtherForm(i, i + 1));
        return i + 1;
    }

    // A user word starting at character i: emitted, and the character after it returned; 0 when
    // none starts there.
    std::size_t UserWordEnd(std::size_t i) {
        const std::size_t begin = m_source.chars[i].begin;
        const int slot = m_dic.FirstUserMatch(m_text + begin);
        if (slot < 0) {
            return 0;
        }
        const std::string_view yomi = m_dic.Reading(slot);
        const std::size_t wordEnd = std::min(begin + m_dic.Word(slot).size(), m_n);
        for (std::size_t k = i; k < m_source.CharAtSource(wordEnd); ++k) {
            if (m_ruby.InBase(k)) {
                return 0; // a ruby says how its base is read
            }
        }
        m_piece.assign(yomi);
        if (!EmitBytes(begin, wordEnd, true)) {
            return m_source.chars.size();
        }
        return std::max(m_source.CharAtSource(wordEnd), i + 1);
    }

    // A number at character i read by the number reading; the character after it, or i when
    // no number starts there.
    std::size_t ReadNumberAt(std::size_t i) {
        const std::size_t from = m_source.Utf8Begin(i);
        std::size_t limit = i;
        while (limit < m_source.chars.size() && !m_ruby.InBase(limit)) {
            ++limit; // a number never takes a ruby's base along as its counter
        }
        const std::optional<NumberReading> number = ReadNumber(
            std::string_view(m_source.utf8).substr(from, m_source.Utf8Begin(limit) - from));
        if (!number || number->length == 0) {
            return i;
        }
        const std::size_t end = m_source.CharAtUtf8(from + number->length);
        if (end <= i) {
            return i;
        }
        const std::string_view utf8 = m_source.utf8;
        m_piece = NumberInContext(utf8.substr(0, from), utf8.substr(from + number->length),
                                  number->reading);
        Emit(i, end, true);
        m_numberEnd = end;
        return end;
    }

    // A run of Japanese characters from i, through the analyzer; it ends before a character
    // that is not Japanese or at which a user word starts.
    std::size_t ReadRun(std::size_t i) {
        const std::size_t count = m_source.chars.size();
        std::size_t j = i + 1;
        while (j < count && m_source.chars[j].kind == CharKind::Japanese &&
               (m_ruby.InBase(j) || m_dic.FirstUserMatch(m_text + m_source.chars[j].begin) < 0) &&
               !(m_ruby.StartsBase(j) && !IsJapaneseBase(j))) {
            ++j;
        }
        const std::size_t base = m_source.Utf8Begin(i);
        const std::string_view run =
            std::string_view(m_source.utf8).substr(base, m_source.Utf8Begin(j) - base);
        // Each ruby's base is one word of the run, so that the words around it are analysed
        // in their sentence.
        std::vector<Utf8Span> fixed;
        for (std::size_t k = i; k < j; ++k) {
            if (m_ruby.StartsBase(k)) {
                fixed.push_back(
                    {m_source.Utf8Begin(k) - base, m_source.Utf8Begin(m_ruby.BaseEnd(k)) - base});
            }
        }
        if (!AnalyzeWithFixedWords(m_analyzer, run, fixed, m_words)) {
            m_words.clear();
        }
        JoinWordsInsideCharacters(m_source, base, m_words);
        std::size_t next = i; // the first character not read yet
        for (const AnalyzedWord& word : m_words) {
            const std::size_t wb = m_source.CharAtUtf8(base + word.begin);
            const std::size_t we = std::min(m_source.CharAtUtf8(base + word.end), j);
            if (wb < next || we <= wb) {
                continue; // read already as part of a number before it
            }
            ReadCharsByKana(next, wb); // what the analyzer left between words
            if (m_full) {
                return count;
            }
            if (m_ruby.StartsBase(wb) && we == m_ruby.BaseEnd(wb)) {
                ReadRuby(wb);
                if (m_full) {
                    return count;
                }
                next = we;
                continue;
            }
            if (word.isNumeral) {
                const std::size_t end = ReadNumeral(wb, we, word);
                if (m_full) {
                    return count;
                }
                if (end > we) {
                    // The number took its counter along. Go on with this analysis where the
                    // number ended on a word boundary, else analyse again from there.
                    if (!EndsOnWordBoundary(base, end)) {
                        return end;
                    }
                }
                next = end;
                continue;
            }
            if (wb == m_numberEnd && IsWord(base, word, "後") && word.pronunciation != "ゴ") {
                // 後 right after a number and its counter is a time after that span, ご
                // (２時間後, ３日後); the analyzer, given the run after the number alone, may
                // say あと, or のち as at a clause's start.
                AnalyzedWord span = word;
                span.pronunciation = "ゴ";
                span.byContext = true;
                ReadWord(wb, we, span);
            } else {
                ReadWord(wb, we, word);
            }
            if (m_full) {
                return count;
            }
            next = we;
        }
        ReadCharsByKana(next, j);
        return m_full ? count : std::max(next, j);
    }

    // A run of Latin letters from i: as the analyzer says it when its dictionary knows the whole
    // run as one word (UniDic reads "kernel" as カーネル), else as English in katakana when the
    // pronouncing dictionary knows it, else letter by letter by the fixed rules. Like a Japanese
    // run it ends where a user word starts.
    std::size_t ReadLatinRun(std::size_t i) {
        const std::size_t count = m_source.chars.size();
        std::size_t j = i + 1;
        while (j < count && m_source.chars[j].kind == CharKind::Letter &&
               m_dic.FirstUserMatch(m_text + m_source.chars[j].begin) < 0) {
            ++j;
        }
        const std::size_t base = m_source.Utf8Begin(i);
        const std::string_view run =
            std::string_view(m_source.utf8).substr(base, m_source.Utf8Begin(j) - base);
        if (j - i > 1 && m_analyzer.Analyze(run, m_words) && m_words.size() == 1 &&
            m_words[0].begin == 0 && m_words[0].end == run.size()) {
            m_piece.clear();
            AppendPronunciation(m_words[0].pronunciation);
            if (!m_piece.empty()) {
                Emit(i, j);
                return m_full ? count : j;
            }
        }
        if (m_english != nullptr && (j - i > 1 || IsArticle(i)) && !InAccentNotation(i)) {
            const std::string word = AsciiLetters(i, j);
            m_piece.clear();
            AppendPronunciation(english::EnglishKatakana(word, *m_english));
            if (!m_piece.empty()) {
                // Read otherwise than spelled: a reader of the letters alone (the natural voice's
                // own analysis) would spell it.
                Emit(i, j, true);
                return m_full ? count : j;
            }
        }
        ReadCharsByKana(i, j);
        return m_full ? count : j;
    }

    // Whether character i lies inside the accent notation 〔…〕 of an Aozora Bunko text (its
    // brackets are silent notation), whose words are French, German or Latin more than English:
    // those are spelled as before.
    bool InAccentNotation(std::size_t i) const {
        if (m_notation == nullptr) {
            return false;
        }
        const std::size_t at = m_source.SourceBegin(i);
        bool inside = false;
        for (const NotationRange& silent : m_notation->silent) {
            if (silent.begin >= at) {
                break;
            }
            for (std::size_t k = silent.begin; k < silent.end && k < m_n;) {
                const std::uint8_t lead = m_text[k];
                if (lead == 0x81 && k + 1 < m_n && m_text[k + 1] == 0x6B) { // 〔
                    inside = true;
                } else if (lead == 0x81 && k + 1 < m_n && m_text[k + 1] == 0x6C) { // 〕
                    inside = false;
                }
                k += (lead >= 0x81 && lead <= 0x9F) || lead >= 0xE0 ? 2 : 1;
            }
        }
        return inside;
    }

    // Whether the letter at i is the article a: a or A with a blank and a letter after it. Any
    // other letter alone is spelled (a＠b, x-ray).
    bool IsArticle(std::size_t i) const {
        const auto& chars = m_source.chars;
        const char16_t c = chars[i].ch;
        return (c == u'a' || c == u'A' || c == 0xFF41 || c == 0xFF21) && i + 2 < chars.size() &&
               (chars[i + 1].ch == u' ' || chars[i + 1].ch == 0x3000) &&
               chars[i + 2].kind == CharKind::Letter;
    }

    // The letters of characters [from, to) in ASCII (full-width ones folded); "" when one is
    // not an ASCII letter in either width.
    std::string AsciiLetters(std::size_t from, std::size_t to) const {
        std::string word;
        for (std::size_t k = from; k < to; ++k) {
            char16_t c = m_source.chars[k].ch;
            if (c >= 0xFF21 && c <= 0xFF5A) {
                c = static_cast<char16_t>(c - 0xFF21 + u'A');
            }
            if (!((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'))) {
                return {};
            }
            word.push_back(static_cast<char>(c));
        }
        return word;
    }

    // Whether word (of the run at UTF-8 offset base) is written surface.
    bool IsWord(std::size_t base, const AnalyzedWord& word, std::string_view surface) const {
        return std::string_view(m_source.utf8).substr(base + word.begin, word.end - word.begin) ==
               surface;
    }

    bool EndsOnWordBoundary(std::size_t base, std::size_t endChar) const {
        const std::size_t end = m_source.Utf8Begin(endChar) - base;
        return std::any_of(m_words.begin(), m_words.end(),
                           [&](const AnalyzedWord& w) { return w.begin == end; }) ||
               std::all_of(m_words.begin(), m_words.end(),
                           [&](const AnalyzedWord& w) { return w.end <= end; });
    }

    // A word the analyzer tags as a number: the number reading from its start, again for what
    // is left of it; the analyzer's own reading where no number starts it. Returns the
    // character after what was read.
    std::size_t ReadNumeral(std::size_t wb, std::size_t we, const AnalyzedWord& word) {
        std::size_t pos = ReadNumberAt(wb);
        if (pos == wb) {
            ReadWord(wb, we, word);
            return we;
        }
        while (pos < we && !m_full) {
            const std::size_t end = ReadNumberAt(pos);
            if (end > pos) {
                pos = end;
                continue;
            }
            ReadCharsByKana(pos, pos + 1);
            ++pos;
        }
        return pos;
    }

    // Whether the ruby's base at character i is all Japanese, so that it is read within its run.
    bool IsJapaneseBase(std::size_t i) const {
        const std::size_t end = m_ruby.BaseEnd(i);
        for (std::size_t k = i; k < end; ++k) {
            if (m_source.chars[k].kind != CharKind::Japanese) {
                return false;
            }
        }
        return true;
    }

    // The ruby's base at character i, read as its ruby; returns the character after it.
    std::size_t ReadRuby(std::size_t i) {
        const std::size_t end = m_ruby.BaseEnd(i);
        m_piece.clear();
        AppendPronunciation(m_ruby.reading[static_cast<std::size_t>(m_ruby.rubyOf[i])]);
        if (m_piece.empty()) {
            m_piece.push_back(static_cast<char>(kBlank));
        }
        Emit(i, end, true);
        return end;
    }

    // A word by the analyzer's pronunciation, else (a word it does not know) by its kana.
    void ReadWord(std::size_t wb, std::size_t we, const AnalyzedWord& word) {
        m_piece.clear();
        if (!word.pronunciation.empty()) {
            AppendPronunciation(word.pronunciation);
        } else {
            AppendSurfaceKana(wb, we);
        }
        if (m_piece.empty()) {
            m_piece.push_back(static_cast<char>(kBlank)); // a word not read still takes a tick
        }
        Emit(wb, we, word.byContext || InOtherForm(wb, we));
    }

    // Characters [from, to) one by one: kana by the kana rule, everything else by the fixed
    // rules (a kanji gives a blank).
    void ReadCharsByKana(std::size_t from, std::size_t to) {
        for (std::size_t k = from; k < to && !m_full; ++k) {
            if (m_ruby.StartsBase(k)) { // a ruby's base whole, as its ruby
                k = ReadRuby(k) - 1;
                continue;
            }
            m_piece.clear();
            AppendByRules(k);
            Emit(k, k + 1, InOtherForm(k, k + 1));
        }
    }

    // Whether characters [from, to) hold one that is read in another form than its own: a gaiji
    // note, or a character beyond JIS X 0208 (髙 as 高, ㈱ as 株式会社).
    bool InOtherForm(std::size_t from, std::size_t to) const {
        for (std::size_t k = from; k < to; ++k) {
            const SourceChar& c = m_source.chars[k];
            if (c.length > 2 || !ExtensionCharForm(c.ch).empty()) {
                return true;
            }
        }
        return false;
    }

    // The surface of characters [from, to) read as kana where they are kana, in the form the
    // analyzer saw (㎞ is キロメートル there).
    void AppendSurfaceKana(std::size_t from, std::size_t to) {
        const std::size_t begin = m_source.Utf8Begin(from);
        const std::string_view text =
            std::string_view(m_source.utf8).substr(begin, m_source.Utf8Begin(to) - begin);
        for (std::size_t i = 0; i < text.size();) {
            const char32_t c = NextCodePoint(text, i);
            if (IsKana(c)) {
                AppendKana(c);
            }
        }
    }

    // One character by the fixed rules of the dictionary reading, except that a kanji gives a
    // blank (its bytes are not read as letters), ー and ｰ lengthen the vowel before them and an
    // undecodable byte gives a blank.
    void AppendByRules(std::size_t k) {
        const SourceChar& c = m_source.chars[k];
        std::uint8_t folded[kMaxFoldedBytes];
        std::size_t length = 0;
        if (c.ch == kLongVowel || (c.length == 1 && m_text[c.begin] == kHalfLongVowel)) {
            AppendLongVowel();
            return;
        }
        switch (c.kind) {
        case CharKind::Undecodable:
            folded[0] = kBlank;
            length = 1;
            break;
        case CharKind::Japanese:
            if (IsKana(c.ch)) {
                AppendKana(c.ch);
                return;
            }
            folded[0] = kBlank;
            length = 1;
            break;
        default:
            if (c.length == 1) {
                length = FoldSingleByte(m_text[c.begin], folded);
            } else {
                length = FoldWide(m_text[c.begin], m_text[c.begin + 1], folded);
            }
            break;
        }
        m_piece.append(reinterpret_cast<const char*>(folded), length);
    }

    static std::size_t FoldWide(std::uint8_t lead, std::uint8_t trail, std::uint8_t* out) {
        switch (lead) {
        case 0x81:
            return FoldRow81(trail, out);
        case 0x82:
            return FoldRow82(trail, out);
        case 0x83:
            return FoldRow83(trail, out);
        default:
            out[0] = kBlank;
            return 1;
        }
    }

    // A full-width kana (or ー) in half-width katakana.
    void AppendKana(char32_t ch) {
        if (ch == kLongVowel) {
            AppendLongVowel();
            return;
        }
        const std::uint16_t code = ch <= 0xFFFF ? Cp932CodeOf(static_cast<char16_t>(ch)) : 0;
        const auto lead = static_cast<std::uint8_t>(code >> 8);
        if (lead != 0x82 && lead != 0x83) {
            return;
        }
        std::uint8_t folded[kMaxFoldedBytes];
        const std::size_t length = FoldWide(lead, static_cast<std::uint8_t>(code & 0xFF), folded);
        m_piece.append(reinterpret_cast<const char*>(folded), length);
    }

    void AppendPronunciation(std::string_view utf8) {
        for (std::size_t i = 0; i < utf8.size();) {
            const char32_t c = NextCodePoint(utf8, i);
            if (IsKana(c)) {
                AppendKana(c);
            }
        }
    }

    void AppendLongVowel() {
        std::uint8_t vowel;
        if (!m_piece.empty()) {
            vowel = LongVowelAfter(reinterpret_cast<const std::uint8_t*>(m_piece.data()),
                                   m_piece.size());
        } else {
            vowel = LongVowelAfter(m_out.Bytes(), m_out.Length());
        }
        m_piece.push_back(static_cast<char>(vowel));
    }

    // Appends the piece for characters [first, end): whole, or character by character when it
    // is too long to be one word. otherwise: the piece is read otherwise than its characters are
    // written (ConvertAutomatic's readOtherwise). False once the buffer is full.
    bool Emit(std::size_t first, std::size_t end, bool otherwise = false) {
        if (m_piece.size() > kMaxWholeWordReading && end - first > 1) {
            for (std::size_t k = first; k < end; ++k) {
                m_piece.clear();
                AppendByRules(k);
                if (!Emit(k, k + 1, otherwise)) {
                    return false;
                }
            }
            return true;
        }
        // To the end of the last character: silent notation after it is no part of it.
        const std::size_t last =
            end > first ? m_source.SourceBegin(end - 1) + m_source.chars[end - 1].length
                        : m_source.SourceBegin(end);
        return EmitBytes(m_source.SourceBegin(first), last, otherwise);
    }

    bool EmitBytes(std::size_t begin, std::size_t end, bool otherwise = false) {
        if (m_full) {
            return false;
        }
        // A long-vowel mark in a reading from the user's dictionary or the number reading has no
        // voice of its own either: it becomes the vowel before it.
        for (std::size_t k = 0; k < m_piece.size(); ++k) {
            if (static_cast<std::uint8_t>(m_piece[k]) == kHalfLongVowel) {
                m_piece[k] = static_cast<char>(
                    k > 0 ? LongVowelAfter(reinterpret_cast<const std::uint8_t*>(m_piece.data()), k)
                          : LongVowelAfter(m_out.Bytes(), m_out.Length()));
            }
        }
        const SourceRange range{static_cast<std::uint16_t>(begin), static_cast<std::uint16_t>(end)};
        if (!m_out.Append(m_piece.data(), m_piece.size(), range)) {
            m_full = true;
            m_stop = begin;
            return false;
        }
        if (otherwise && m_otherwise != nullptr && !m_piece.empty()) {
            m_otherwise->push_back(range);
        }
        return true;
    }

    const DictionaryView& m_dic;
    Analyzer& m_analyzer;
    ReadingWriter m_out;
    std::size_t m_n;
    unsigned char m_text[kTextBufferSize] = {}; // zero bytes behind the text end comparisons
    SourceText m_source;
    std::vector<AnalyzedWord> m_words;
    RubyBases m_ruby;                      // empty unless the text is read as Aozora notation
    std::string m_piece;                   // the reading of the word being read
    std::vector<SourceRange>* m_otherwise; // may be null
    english::EnglishLexicon* m_english;    // may be null
    const AozoraNotation* m_notation;      // null unless read as Aozora notation
    bool m_full = false;
    std::size_t m_stop = 0;
    std::size_t m_numberEnd = SIZE_MAX; // the character after the last number read
};

} // namespace

ReadingResult ConvertAutomatic(const unsigned char* text, std::size_t n, const DictionaryView& dic,
                               Analyzer& analyzer, unsigned char (&reading)[kReadingBufferSize],
                               SourceRange (&source)[kReadingBufferSize],
                               const AozoraNotation* notation, const ReadingShared& shared) {
    n = std::min(n, kMaxTextBytes);
    std::memset(reading, 0, kReadingBufferSize);
    std::memset(static_cast<void*>(source), 0, sizeof source);
    if (shared.readOtherwise != nullptr) {
        shared.readOtherwise->clear();
    }
    AutomaticReader reader(text, n, dic, analyzer, reading, source, notation, shared);
    return reader.Run();
}

} // namespace yomi6
