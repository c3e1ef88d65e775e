#include "dictionary/word_list.h"

#include "dictionary/halfwidth_kana.h"
#include "dictionary/record_cleaning.h"
#include "dictionary/word_registration.h"
#include "text/byte_escape.h"
#include "text/cp932.h"
#include "text/cp932_codec.h"
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

// Every byte is part of a character: single bytes, half-width katakana, or a legal pair.
bool IsWellFormedShiftJis(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<std::uint8_t>(bytes[i]);
        if (b < 0x80 || cp932::IsHalfWidthKana(b)) {
            continue;
        }
        if (i + 1 < bytes.size() &&
            cp932::IsLegalPair(b, static_cast<std::uint8_t>(bytes[i + 1]))) {
            ++i;
            continue;
        }
        return false;
    }
    return true;
}

bool HoldsByteEscape(std::u16string_view text) {
    return std::any_of(text.begin(), text.end(), [](char16_t c) { return IsByteEscape(c); });
}

std::string Utf8OfText(std::u16string_view text) {
    return EncodeUtf8(text, EncodeOptions{LineEnd::Lf, OnUnencodable::Replace}).bytes;
}

std::string ReportText(std::u16string_view text) {
    std::string utf8 = Utf8OfText(text);
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

// The fields of a line. Comma-separated fields may be quoted; none when a quote is left open.
std::optional<std::vector<std::u16string>> SplitFields(std::u16string_view line,
                                                       WordListSeparator separator) {
    std::vector<std::u16string> fields;
    if (separator == WordListSeparator::Tab) {
        std::size_t start = 0;
        for (;;) {
            const std::size_t tab = line.find(u'\t', start);
            fields.emplace_back(line.substr(start, tab - start));
            if (tab == std::u16string_view::npos) {
                return fields;
            }
            start = tab + 1;
        }
    }
    std::size_t i = 0;
    for (;;) {
        // Blanks before a quoted field are allowed, as spreadsheets write none but people do.
        std::size_t j = i;
        while (j < line.size() && IsBlank(line[j])) {
            ++j;
        }
        std::u16string field;
        if (j < line.size() && line[j] == u'"') {
            ++j;
            bool closed = false;
            while (j < line.size()) {
                if (line[j] == u'"') {
                    if (j + 1 < line.size() && line[j + 1] == u'"') {
                        field += u'"';
                        j += 2;
                        continue;
                    }
                    closed = true;
                    ++j;
                    break;
                }
                field += line[j++];
            }
            if (!closed) {
                return std::nullopt;
            }
            while (j < line.size() && IsBlank(line[j])) {
                ++j;
            }
            if (j < line.size() && line[j] != u',') {
                return std::nullopt; // text after the closing quote
            }
        } else {
            const std::size_t comma = std::min(line.find(u',', i), line.size());
            field = TrimBlanks(line.substr(i, comma - i));
            j = comma;
        }
        fields.push_back(std::move(field));
        if (j >= line.size()) {
            return fields;
        }
        i = j + 1; // past the comma
    }
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
std::variant<WordEntry, WordListProblem> RowOf(const std::vector<std::u16string>& fields) {
    if (fields.size() != 2) {
        return WordListProblem::NotTwoFields;
    }
    const std::u16string word = WithoutBlanks(fields[0]);
    const std::u16string yomi = WithoutBlanks(fields[1]);
    if (word.empty() || yomi.empty()) {
        return WordListProblem::EmptyField;
    }
    // Control characters (a lone CR, a tab in a comma-separated line) are no part of a word.
    auto isControl = [](char16_t c) { return c < 0x20 || c == 0x7F; };
    if (std::any_of(word.begin(), word.end(), isControl) ||
        std::any_of(yomi.begin(), yomi.end(), isControl)) {
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

bool NeedsQuotes(std::string_view field) {
    return field.find_first_of(",\"\r\n") != std::string_view::npos ||
           (!field.empty() && (field.front() == ' ' || field.back() == ' '));
}

void AppendField(std::string& out, std::string_view field, WordListSeparator separator) {
    if (separator == WordListSeparator::Tab) {
        // A tab or a line break cannot stand in a tab-separated field; it becomes a blank.
        for (char c : field) {
            out += (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
        }
        return;
    }
    if (!NeedsQuotes(field)) {
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
    const bool shiftJis = encoding == WordListEncoding::ShiftJis;
    int lineNumber = 0;
    while (!bytes.empty()) {
        ++lineNumber;
        const std::size_t lf = bytes.find('\n');
        std::string_view line = bytes.substr(0, lf);
        bytes.remove_prefix(lf == std::string_view::npos ? bytes.size() : lf + 1);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (line.empty()) {
            continue;
        }
        const std::u16string text = shiftJis ? DecodeCp932(line) : DecodeUtf8(line);
        const bool wellFormed =
            (shiftJis ? IsWellFormedShiftJis(line) : IsValidUtf8(line)) && !HoldsByteEscape(text);
        if (!wellFormed) {
            result.skipped.push_back({lineNumber, WordListProblem::InvalidBytes, ReportText(text)});
            continue;
        }
        const auto fields = SplitFields(text, separator);
        if (!fields) {
            result.skipped.push_back({lineNumber, WordListProblem::NotTwoFields, ReportText(text)});
            continue;
        }
        auto row = RowOf(*fields);
        if (auto* problem = std::get_if<WordListProblem>(&row)) {
            result.skipped.push_back({lineNumber, *problem, ReportText(text)});
            continue;
        }
        result.rows.push_back({lineNumber, std::move(std::get<WordEntry>(row))});
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
        return "単語が12バイトを超えています";
    case WordListProblem::YomiTooLong:
        return "読みが20バイトを超えています";
    case WordListProblem::YomiNotKana:
        return "読みにカナ以外の文字があります";
    }
    return {};
}

} // namespace yomi6
