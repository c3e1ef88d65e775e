#include "dictionary/word_list.h"

#include "dictionary/record_cleaning.h"
#include "dictionary/word_registration.h"
#include "text/byte_escape.h"
#include "text/cp932.h"
#include "text/cp932_codec.h"
#include "text/cp932_table.h"
#include "text/halfwidth_kana.h"
#include "text/utf8_codec.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <variant>

namespace yomi6 {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::size_t kReportTextBytes = 80;

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\u3000';
}

std::u16string WithoutBlanks(std::u16string_view field) {
    std::u16string out;
    out.reserve(field.size());
    for (char16_t c : field) {
        if (!IsBlank(c)) {
            out += c;
        }
    }
    return out;
}

std::u16string_view TrimBlanks(std::u16string_view field) {
    while (!field.empty() && IsBlank(field.front())) {
        field.remove_prefix(1);
    }
    while (!field.empty() && IsBlank(field.back())) {
        field.remove_suffix(1);
    }
    return field;
}

bool HoldsByteEscape(std::u16string_view text) {
    return std::any_of(text.begin(), text.end(), [](char16_t c) { return IsByteEscape(c); });
}

// The single bytes above 0x7F that are neither half-width katakana nor a lead byte (0x80, 0xA0,
// 0xFD-0xFF) decode to codes of their own, not to escapes; in a word list they are no text.
bool HoldsStrayShiftJisByte(std::u16string_view text) {
    return std::any_of(text.begin(), text.end(), [](char16_t c) {
        for (const int b : {0x80, 0xA0, 0xFD, 0xFE, 0xFF}) {
            if (c != cp932::kNoChar && c == cp932::kSingleByteChars[b]) {
                return true;
            }
        }
        return false;
    });
}

std::string Utf8OfText(std::u16string_view text) {
    return EncodeUtf8(text, EncodeOptions{LineEnd::Lf, OnUnencodable::Replace}).bytes;
}

bool IsControl(char16_t c) {
    return c < 0x20 || c == 0x7F;
}

bool HoldsControl(std::u16string_view text) {
    return std::any_of(text.begin(), text.end(), IsControl);
}

bool IsLineEnd(char16_t c) {
    return c == u'\r' || c == u'\n';
}

struct Field {
    std::u16string text;
    bool quoted = false; // written between quotes: control characters in it are meant
};

// One record of a list: the fields of one line, or of several when a quoted field holds line
// breaks.
struct Record {
    std::size_t begin = 0;                    // the record's first character
    std::size_t end = 0;                      // one past its last, before its line end
    std::optional<std::vector<Field>> fields; // none: a quote left open or text after one
};

// Reads the quoted field whose opening quote is at text[at]: its text and the position after
// the closing quote, or none when no quote closes it.
std::optional<std::pair<std::u16string, std::size_t>> QuotedAt(std::u16string_view text,
                                                               std::size_t at) {
    std::u16string field;
    for (std::size_t j = at + 1; j < text.size(); ++j) {
        if (text[j] != u'"') {
            field += text[j];
        } else if (j + 1 < text.size() && text[j + 1] == u'"') {
            field += u'"';
            ++j;
        } else {
            return std::pair{std::move(field), j + 1};
        }
    }
    return std::nullopt;
}

// The position of the line end (or of the end of text) at or after from.
std::size_t LineEndFrom(std::u16string_view text, std::size_t from) {
    while (from < text.size() && !IsLineEnd(text[from])) {
        ++from;
    }
    return from;
}

// The record that starts at text[begin]. With commas a field may be quoted, blanks around it
// allowed ("a, ""b"""); with tabs a field is taken as it stands, unless it is a quoted field
// that holds a tab, a line break or another control character, which is how a tab-separated
// list can carry those, or a doubled quote, which is how it carries a field that starts with a
// quote (a field such as "引用" keeps its quotes).
Record RecordAt(std::u16string_view text, std::size_t begin, WordListSeparator separator) {
    const char16_t sep = separator == WordListSeparator::Tab ? u'\t' : u',';
    Record record;
    record.begin = begin;
    std::vector<Field> fields;
    std::size_t i = begin;
    for (;;) {
        std::size_t j = i;
        if (separator == WordListSeparator::Comma) {
            // Blanks before a quoted field are allowed, as spreadsheets write none but people do.
            while (j < text.size() && IsBlank(text[j])) {
                ++j;
            }
        }
        Field field;
        bool taken = false;
        if (j < text.size() && text[j] == u'"') {
            auto quoted = QuotedAt(text, j);
            std::size_t after = quoted ? quoted->second : text.size();
            if (quoted && separator == WordListSeparator::Comma) {
                while (after < text.size() && IsBlank(text[after])) {
                    ++after;
                }
            }
            const bool endsField =
                quoted && (after == text.size() || text[after] == sep || IsLineEnd(text[after]));
            if (endsField &&
                (separator == WordListSeparator::Comma || HoldsControl(quoted->first) ||
                 quoted->first.find(u'"') != std::u16string::npos)) {
                field = {std::move(quoted->first), true};
                i = after;
                taken = true;
            } else if (separator == WordListSeparator::Comma) {
                // An open quote, or text after the closing one: the line is no record, and
                // the next line starts the next one.
                record.end = LineEndFrom(text, begin);
                return record;
            }
        }
        if (!taken) {
            std::size_t stop = j;
            while (stop < text.size() && text[stop] != sep && !IsLineEnd(text[stop])) {
                ++stop;
            }
            const std::u16string_view raw = text.substr(j, stop - j);
            field.text = separator == WordListSeparator::Comma ? TrimBlanks(raw) : raw;
            i = stop;
        }
        fields.push_back(std::move(field));
        if (i < text.size() && text[i] == sep) {
            ++i;
            continue;
        }
        record.end = i;
        record.fields = std::move(fields);
        return record;
    }
}

// The position after the line end at text[at] (CR LF, CR or LF), or at itself at the end.
std::size_t PastLineEnd(std::u16string_view text, std::size_t at) {
    if (at < text.size() && text[at] == u'\r') {
        ++at;
        if (at < text.size() && text[at] == u'\n') {
            ++at;
        }
    } else if (at < text.size() && text[at] == u'\n') {
        ++at;
    }
    return at;
}

// The line ends (CR LF, CR or LF) in text.
int LineEndsIn(std::u16string_view text) {
    int n = 0;
    for (std::size_t i = 0; i < text.size(); i = std::max(i + 1, PastLineEnd(text, i))) {
        n += IsLineEnd(text[i]) ? 1 : 0;
    }
    return n;
}

bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [&](char16_t x, char16_t y) { return lower(x) == lower(y); });
}

// The first row names the columns, as spreadsheets write it: "単語,読み" or "word,reading".
bool IsHeader(const std::vector<Field>& fields) {
    if (fields.size() != 2) {
        return false;
    }
    const std::u16string_view word = TrimBlanks(fields[0].text);
    const std::u16string_view yomi = TrimBlanks(fields[1].text);
    return (word == u"単語" && yomi == u"読み") ||
           (EqualsIgnoringAsciiCase(word, u"word") && EqualsIgnoringAsciiCase(yomi, u"reading"));
}

std::string ReportText(std::u16string_view text) {
    // A record over several lines is reported on one, its line breaks shown as such.
    std::u16string oneLine;
    for (std::size_t i = 0; i < text.size(); i = std::max(i + 1, PastLineEnd(text, i))) {
        oneLine += IsLineEnd(text[i]) ? u'\u21B5' : text[i];
    }
    std::string utf8 = Utf8OfText(oneLine);
    if (utf8.size() > kReportTextBytes) {
        // Cut at a character boundary.
        std::size_t cut = kReportTextBytes;
        while (cut > 0 && (static_cast<std::uint8_t>(utf8[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        utf8.resize(cut);
        utf8 += "…";
    }
    return utf8;
}

// A reading byte string that the dictionary's cleaning keeps whole.
bool IsSpeakable(const std::string& yomi) {
    unsigned char in[kYomiFieldMaxBytes + 1] = {};
    unsigned char out[kYomiFieldMaxBytes + 1] = {};
    std::memcpy(in, yomi.data(), yomi.size());
    CleanYomiField(in, out);
    return std::memcmp(in, out, sizeof in) == 0;
}

bool IsSpeakableByteByByte(const std::string& yomi) {
    // The cleaning scans 20 bytes; a longer reading is checked in pieces that start on
    // character boundaries (every byte of a speakable reading is a single byte).
    for (std::size_t i = 0; i < yomi.size(); i += kYomiFieldMaxBytes) {
        if (!IsSpeakable(yomi.substr(i, kYomiFieldMaxBytes))) {
            return false;
        }
    }
    return true;
}

// The row of a line's fields, or the reason there is none.
std::variant<WordEntry, WordListProblem> RowOf(const std::vector<Field>& fields) {
    if (fields.size() != 2) {
        return WordListProblem::NotTwoFields;
    }
    const std::u16string word = WithoutBlanks(fields[0].text);
    const std::u16string yomi = WithoutBlanks(fields[1].text);
    if (word.empty() || yomi.empty()) {
        return WordListProblem::EmptyField;
    }
    // A control character (a tab in a comma-separated line) is no part of a word, unless the
    // field was quoted: then it is the field's own, as the list's writer wrote a record of the
    // dictionary that holds one.
    if ((!fields[0].quoted && HoldsControl(word)) || (!fields[1].quoted && HoldsControl(yomi))) {
        return WordListProblem::InvalidBytes;
    }
    EncodeResult wordBytes = EncodeCp932(word, EncodeOptions{});
    const std::optional<std::string> yomiBytes = HalfWidthReadingBytes(yomi);
    if (!wordBytes.ok() || !yomiBytes) {
        return WordListProblem::NotInCodePage;
    }
    if (!IsSpeakableByteByByte(*yomiBytes)) {
        return WordListProblem::YomiNotKana;
    }
    if (wordBytes.bytes.size() > kWordFieldMaxBytes) {
        return WordListProblem::WordTooLong;
    }
    if (yomiBytes->size() > kYomiFieldMaxBytes) {
        return WordListProblem::YomiTooLong;
    }
    return WordEntry{std::move(wordBytes.bytes), *yomiBytes};
}

// Control bytes are never part of a double-byte character in either encoding.
bool HoldsControlByte(std::string_view field) {
    return std::any_of(field.begin(), field.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

bool NeedsQuotes(std::string_view field, WordListSeparator separator) {
    if (separator == WordListSeparator::Tab) {
        // A tab or a line break could not stand otherwise; a field that starts with a quote
        // could be read as a quoted field running into the next ones.
        return HoldsControlByte(field) || field.starts_with('"');
    }
    return field.find_first_of(",\"") != std::string_view::npos || HoldsControlByte(field) ||
           (!field.empty() && (field.front() == ' ' || field.back() == ' '));
}

void AppendField(std::string& out, std::string_view field, WordListSeparator separator) {
    if (!NeedsQuotes(field, separator)) {
        out += field;
        return;
    }
    out += '"';
    for (char c : field) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
}

} // namespace

WordListEncoding DetectWordListEncoding(std::string_view bytes) {
    if (bytes.starts_with(kBom)) {
        return WordListEncoding::Utf8WithBom;
    }
    return IsValidUtf8(bytes) ? WordListEncoding::Utf8 : WordListEncoding::ShiftJis;
}

ParsedWordList ParseWordList(std::string_view bytes, WordListSeparator separator) {
    return ParseWordList(bytes, separator, DetectWordListEncoding(bytes));
}

ParsedWordList ParseWordList(std::string_view bytes, WordListSeparator separator,
                             WordListEncoding encoding) {
    ParsedWordList result;
    result.encoding = encoding;
    if (encoding != WordListEncoding::ShiftJis && bytes.starts_with(kBom)) {
        bytes.remove_prefix(kBom.size());
    }
    // Line ends, quotes and separators are single bytes that are never the second byte of a
    // character in either encoding, so the whole file is decoded at once; bytes that are no
    // text become escape characters, which mark their record.
    const std::u16string text =
        encoding == WordListEncoding::ShiftJis ? DecodeCp932(bytes) : DecodeUtf8(bytes);
    const std::u16string_view all = text;
    int lineNumber = 1;
    bool first = true;
    for (std::size_t at = 0; at < all.size();) {
        const Record record = RecordAt(all, at, separator);
        const std::u16string_view recordText = all.substr(record.begin, record.end - record.begin);
        const int line = lineNumber;
        at = PastLineEnd(all, record.end);
        lineNumber += LineEndsIn(all.substr(record.begin, at - record.begin));
        if (recordText.empty()) {
            continue;
        }
        const bool header = first && record.fields && IsHeader(*record.fields);
        first = false;
        if (header) {
            result.headerLine = line;
            continue;
        }
        // The codes of the stray bytes are no text in a UTF-8 list either: written back as
        // Shift-JIS they would be the stray bytes themselves.
        if (HoldsByteEscape(recordText) || HoldsStrayShiftJisByte(recordText)) {
            result.skipped.push_back({line, WordListProblem::InvalidBytes, ReportText(recordText)});
            continue;
        }
        if (!record.fields) {
            result.skipped.push_back({line, WordListProblem::NotTwoFields, ReportText(recordText)});
            continue;
        }
        auto row = RowOf(*record.fields);
        if (auto* problem = std::get_if<WordListProblem>(&row)) {
            result.skipped.push_back({line, *problem, ReportText(recordText)});
            continue;
        }
        result.rows.push_back({line, std::move(std::get<WordEntry>(row))});
    }
    return result;
}

std::string WriteWordList(const std::vector<WordEntry>& entries, WordListSeparator separator,
                          WordListEncoding encoding) {
    std::string out;
    if (encoding == WordListEncoding::Utf8WithBom) {
        out += kBom;
    }
    const char sep = separator == WordListSeparator::Tab ? '\t' : ',';
    for (const WordEntry& e : entries) {
        for (const std::string* field : {&e.word, &e.yomi}) {
            if (field == &e.yomi) {
                out += sep;
            }
            if (encoding == WordListEncoding::ShiftJis) {
                AppendField(out, *field, separator);
            } else {
                AppendField(out, Utf8OfText(DecodeCp932(*field)), separator);
            }
        }
        out += "\r\n";
    }
    return out;
}

std::string_view DescribeWordListProblem(WordListProblem problem) {
    switch (problem) {
    case WordListProblem::NotTwoFields:
        return "単語と読みの2つの欄になっていません";
    case WordListProblem::InvalidBytes:
        return "文字として読めないバイトがあります";
    case WordListProblem::NotInCodePage:
        return "Shift-JISにない文字があります";
    case WordListProblem::EmptyField:
        return "単語か読みが空です";
    case WordListProblem::WordTooLong:
        return "単語が全角6文字 (12バイト) を超えています";
    case WordListProblem::YomiTooLong:
        return "読みが半角カナ20文字 (20バイト) を超えています";
    case WordListProblem::YomiNotKana:
        return "読みにカナ以外の文字があります";
    }
    return {};
}

} // namespace yomi6
