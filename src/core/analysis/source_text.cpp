#include "analysis/source_text.h"

#include "analysis/extension_chars.h"
#include "text/cp932.h"
#include "text/cp932_table.h"
#include "text/utf8_codec.h"

#include <algorithm>

namespace yomi6 {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsKanji(char16_t c) {
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) ||
           (c >= 0xF900 && c <= 0xFAFF);
}

bool IsJapanese(char16_t c) {
    return IsKanji(c) || (c >= 0x3041 && c <= 0x3096) || // hiragana
           (c >= 0x309D && c <= 0x309E) ||               // ゝ ゞ
           (c >= 0x30A1 && c <= 0x30F6) ||               // katakana
           (c >= 0x30FC && c <= 0x30FE) ||               // ー ヽ ヾ
           c == 0x3005 || c == 0x3006 || c == 0x3007;    // 々 〆 〇
}

CharKind KindOf(char16_t c, std::uint8_t length) {
    if (c == kReplacement) {
        return CharKind::Undecodable;
    }
    if ((c >= u'0' && c <= u'9') || (c >= 0xFF10 && c <= 0xFF19)) {
        return CharKind::Digit;
    }
    if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= 0xFF21 && c <= 0xFF3A) ||
        (c >= 0xFF41 && c <= 0xFF5A)) {
        return CharKind::Letter;
    }
    if (IsJapanese(c)) {
        return CharKind::Japanese;
    }
    if (length == 1) {
        return c >= 0xFF61 && c <= 0xFF9F ? CharKind::HalfKana : CharKind::OtherByte;
    }
    return CharKind::OtherWide;
}

} // namespace

void DecodeSource(const unsigned char* text, std::size_t n, SourceText& out) {
    out.chars.clear();
    out.utf8.clear();
    std::size_t p = 0;
    while (p < n) {
        SourceChar c;
        c.begin = static_cast<std::uint16_t>(p);
        const std::uint8_t b = text[p];
        if (cp932::IsLeadByte(b) && p + 1 < n && cp932::IsTrailByte(text[p + 1])) {
            c.length = 2;
            const char16_t ch =
                cp932::kDoubleByteChars[cp932::LeadRow(b)][text[p + 1] - cp932::kFirstTrailByte];
            c.ch = ch == cp932::kNoChar ? kReplacement : ch;
        } else {
            c.length = 1;
            const char16_t ch = cp932::kSingleByteChars[b];
            c.ch = (ch == cp932::kNoChar || b == 0) ? kReplacement : ch;
        }
        c.utf8Begin = static_cast<std::uint32_t>(out.utf8.size());
        if (const std::string_view form = ExtensionCharForm(c.ch); !form.empty()) {
            c.kind = KindOf(static_cast<char16_t>(FirstUtf8Char(form).codePoint), 2);
            out.utf8.append(form);
        } else {
            c.kind = KindOf(c.ch, c.length);
            AppendUtf8(out.utf8, c.ch);
        }
        out.chars.push_back(c);
        p += c.length;
    }
}

std::size_t SourceText::CharAtUtf8(std::size_t utf8Offset) const {
    const auto it = std::lower_bound(
        chars.begin(), chars.end(), utf8Offset,
        [](const SourceChar& c, std::size_t offset) { return c.utf8Begin < offset; });
    return static_cast<std::size_t>(it - chars.begin());
}

std::size_t SourceText::CharAtSource(std::size_t sourceOffset) const {
    const auto it =
        std::lower_bound(chars.begin(), chars.end(), sourceOffset,
                         [](const SourceChar& c, std::size_t offset) { return c.begin < offset; });
    return static_cast<std::size_t>(it - chars.begin());
}

std::size_t SourceText::SourceBegin(std::size_t i) const {
    if (i < chars.size()) {
        return chars[i].begin;
    }
    return chars.empty() ? 0 : chars.back().begin + chars.back().length;
}

std::size_t SourceText::Utf8Begin(std::size_t i) const {
    return i < chars.size() ? chars[i].utf8Begin : utf8.size();
}

bool SourceText::IsCharBoundary(std::size_t utf8Offset) const {
    return utf8Offset >= utf8.size() || Utf8Begin(CharAtUtf8(utf8Offset)) == utf8Offset;
}

void JoinWordsInsideCharacters(const SourceText& source, std::size_t base,
                               std::vector<AnalyzedWord>& words) {
    std::size_t kept = 0;
    for (std::size_t k = 0; k < words.size(); ++k) {
        AnalyzedWord& word = words[k];
        const bool joinsPrevious = kept > 0 && !source.IsCharBoundary(base + words[kept - 1].end);
        if (!joinsPrevious) {
            if (kept != k) {
                words[kept] = std::move(word);
            }
            ++kept;
            continue;
        }
        AnalyzedWord& previous = words[kept - 1];
        // Both must have a reading for the joined word to have one.
        if (previous.pronunciation.empty() || word.pronunciation.empty()) {
            previous.pronunciation.clear();
        } else {
            previous.pronunciation += word.pronunciation;
        }
        previous.end = word.end;
        previous.isNumeral = false;
    }
    words.resize(kept);
}

} // namespace yomi6
