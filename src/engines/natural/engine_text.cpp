#include "natural/engine_text.h"

#include "analysis/analyzer_loader.h"
#include "analysis/extension_chars.h"
#include "analysis/source_text.h"
#include "reading/automatic_reading.h"
#include "text/cp932_codec.h"
#include "text/utf8_codec.h"
#include "text/variant_kanji.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <string_view>

namespace yomi6::natural {

namespace {

// Full-width forms of U+FF61..U+FF9F in order: ｡｢｣､･ｦｧｨｩｪｫｬｭｮｯｰ ｱ..ﾝ ﾞﾟ.
constexpr std::u32string_view kFullForms =
    U"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノ"
    U"ハヒフヘホマミムメモヤユヨラリルレロワン゛゜";

constexpr char16_t kHalfFirst = u'\uFF61';
constexpr char16_t kHalfLast = u'\uFF9F';
constexpr char16_t kHalfVoiced = u'\uFF9E';
constexpr char16_t kHalfSemiVoiced = u'\uFF9F';

// The voiced (dakuten) form of a full-width kana, or 0. カ..チ alternate with their voiced
// forms; after ッ the run goes on one place later (ツヅテデトド).
char32_t Voiced(char32_t c) {
    if (c >= U'カ' && c <= U'チ' && (c - U'カ') % 2 == 0) {
        return c + 1;
    }
    if (c == U'ツ' || c == U'テ' || c == U'ト') {
        return c + 1;
    }
    if (c >= U'ハ' && c <= U'ホ' && (c - U'ハ') % 3 == 0) {
        return c + 1;
    }
    if (c == U'ウ') {
        return U'ヴ';
    }
    return 0;
}

char32_t SemiVoiced(char32_t c) {
    return c >= U'ハ' && c <= U'ホ' && (c - U'ハ') % 3 == 0 ? c + 2 : 0;
}

// Punctuation the engine pauses at, as the automatic reading does, and whose sentence tune
// (a question's rise) it reads from the sign itself: left to the engine.
bool IsPausePunctuation(char16_t c) {
    return c == u'、' || c == u'。' || c == u'，' || c == u'．' || c == u'！' || c == u'？' ||
           c == u',' || c == u'.' || c == u'!' || c == u'?' || c == u'､' || c == u'｡';
}

// Brackets, quotes and the middle dot, which the engine and the automatic reading both say as
// nothing or a short pause: left to the engine, which pauses at them in its own way.
bool IsQuietMark(char16_t c) {
    static constexpr std::u16string_view kQuiet = u"「」『』（）【】〔〕［］｛｝〈〉《》“”‘’・｢｣･";
    return kQuiet.find(c) != std::u16string_view::npos;
}

// Whether the engine is given the character as the automatic reading says it: a Latin letter,
// which the engine spells by other names than the reading does (or says as a word the reading
// spells), or a sign, which the engine says (＠ アット, ＋ タス) where the reading is silent. Kana,
// kanji, digits, blanks and the punctuation above are left to the engine.
bool FollowsReading(const SourceChar& c) {
    if (IsQuietMark(c.ch)) {
        return false;
    }
    switch (c.kind) {
    case CharKind::Letter:
        return true;
    case CharKind::OtherByte:
        return c.ch > u' ' && c.ch != 0x7F && !IsPausePunctuation(c.ch);
    case CharKind::OtherWide:
        return !IsPausePunctuation(c.ch) && c.ch != 0x3000;
    default:
        return false;
    }
}

constexpr char32_t kBlank = 0x3000; // the ideographic blank

// A character as the engine is given it: ASCII in its full-width form, which is what the engine
// makes of it but three bytes long (a blank the ideographic blank), and a control character a
// blank.
char32_t EngineChar(char32_t c) {
    if (c <= 0x20 || c == 0x7F) {
        return kBlank;
    }
    return c < 0x7F ? c + 0xFEE0 : c;
}

// A piece of the automatic reading: the reading bytes (half-width katakana, blanks and pause
// marks) of one word, number, letter or sign, its source bytes in the chunk, and whether the
// engine is given that reading rather than the characters as written.
struct ReadingPiece {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::string reading;
    bool given = false;
};

// The range of ranges (sorted, not overlapping) that holds byte at, or null.
template <typename Range, typename Of>
const Range* Holding(const std::vector<Range>& ranges, std::size_t at, Of of) {
    auto it = std::upper_bound(ranges.begin(), ranges.end(), at,
                               [&](std::size_t a, const Range& r) { return a < of(r).begin; });
    if (it == ranges.begin()) {
        return nullptr;
    }
    --it;
    return at < of(*it).end ? &*it : nullptr;
}

const NotationRange* SilentAt(const AozoraNotation* notation, std::size_t at) {
    return notation == nullptr
               ? nullptr
               : Holding(notation->silent, at, [](const NotationRange& r) { return r; });
}

// How many bytes from start the reading takes at once: at most what it reads, ending on a
// character boundary.
std::size_t WindowLength(std::string_view bytes, std::size_t start) {
    std::size_t i = start;
    while (i < bytes.size()) {
        const std::size_t length = Cp932CharLength(bytes, i);
        if (i + length - start > kMaxTextBytes) {
            break;
        }
        i += length;
    }
    return i - start;
}

// Whether the piece's bytes (outside the silent notation) hold a character that follows the
// reading.
bool HoldsFollower(std::string_view chunkBytes, const ReadingPiece& piece,
                   const AozoraNotation* notation) {
    SourceText source;
    DecodeSource(reinterpret_cast<const unsigned char*>(chunkBytes.data()) + piece.begin,
                 piece.end - piece.begin, source);
    return std::any_of(source.chars.begin(), source.chars.end(), [&](const SourceChar& c) {
        return SilentAt(notation, piece.begin + c.begin) == nullptr && FollowsReading(c);
    });
}

// The automatic reading's pieces of the chunk, by the byte each begins at; none when the
// analyzer cannot be loaded (the engine then says the chunk its own way). notation is the
// chunk's own.
std::vector<std::optional<ReadingPiece>> ReadingPieces(std::string_view chunkBytes,
                                                       const DictionaryView* dic,
                                                       AnalyzerLoader& loader,
                                                       const AozoraNotation* notation) {
    std::string error;
    Analyzer* analyzer = loader.Get(error);
    if (analyzer == nullptr) {
        return {};
    }
    auto noMatch = [](const unsigned char*) { return -1; };
    const DictionaryView noWords(nullptr, nullptr, noMatch, noMatch);
    struct Buffers {
        unsigned char reading[kReadingBufferSize];
        SourceRange source[kReadingBufferSize];
    };
    const auto buffers = std::make_unique<Buffers>(); // 20 KB: not on a worker's stack
    const auto* bytes = reinterpret_cast<const unsigned char*>(chunkBytes.data());
    const std::size_t n = chunkBytes.size();
    std::vector<std::optional<ReadingPiece>> pieces(n);
    std::vector<SourceRange> otherwise;
    // The reading takes 4000 bytes at a time; a chunk is longer only for a long note it does
    // not say.
    for (std::size_t start = 0; start < n;) {
        const std::size_t length = WindowLength(chunkBytes, start);
        if (length == 0) {
            break;
        }
        std::optional<AozoraNotation> local;
        if (notation != nullptr) {
            local = NotationWithin(*notation, start, start + length);
        }
        const ReadingResult result =
            ConvertAutomatic(bytes + start, length, dic != nullptr ? *dic : noWords, *analyzer,
                             buffers->reading, buffers->source, local ? &*local : nullptr,
                             {.readOtherwise = &otherwise, .english = &loader.English()});
        const SourceRange* ranges = buffers->source;
        std::size_t flagged = 0; // otherwise's ranges come in reading order
        for (std::size_t k = 0; k < result.length;) {
            const SourceRange range = ranges[k];
            ReadingPiece piece{start + range.begin, start + range.end, {}, false};
            for (; k < result.length && ranges[k] == range; ++k) {
                piece.reading.push_back(static_cast<char>(buffers->reading[k]));
            }
            while (flagged < otherwise.size() && otherwise[flagged].begin < range.begin) {
                ++flagged;
            }
            piece.given = (flagged < otherwise.size() && otherwise[flagged] == range) ||
                          HoldsFollower(chunkBytes, piece, notation);
            if (piece.begin < n && piece.end > piece.begin && !pieces[piece.begin]) {
                pieces[piece.begin] = std::move(piece);
            }
        }
        start += result.sourceEnd > 0 && result.sourceEnd < length ? result.sourceEnd : length;
    }
    return pieces;
}

// Whether a cut before character k of folded keeps a mora whole: no small kana or long-vowel
// mark that belongs to the one before starts there.
bool StartsMora(char32_t c) {
    static constexpr std::u32string_view kJoining = U"ァィゥェォャュョヮー";
    return kJoining.find(c) == std::u32string_view::npos;
}

// Writes the characters of an engine text, each with its source bytes.
class EngineTextWriter {
public:
    explicit EngineTextWriter(EngineText& out) : m_out(out) {}

    // The next character starts a word.
    void StartWord() { m_wordStart = true; }

    void Add(char32_t c, ByteRange source) {
        c = EngineChar(c);
        AppendUtf8(m_out.utf8, c);
        m_out.folded.push_back(FoldChar(c));
        m_out.sources.push_back(source);
        m_out.fromReading.push_back(m_fromReading);
        m_out.wordStart.push_back(m_wordStart && StartsMora(m_out.folded.back()));
        m_wordStart = false;
    }

    // Text that stands for source in the reading's place (a ruby, a gaiji, a user's word): one
    // word.
    void AddGiven(std::u32string_view given, ByteRange source) {
        m_fromReading = true;
        m_wordStart = true;
        for (const char32_t c : given) {
            Add(c, source);
        }
        m_fromReading = false;
    }

    // A piece of the automatic reading: its half-width katakana as full-width, each blank or
    // pause mark of it (a sign said as nothing, a pause) as a blank, which the engine says as
    // nothing or as a short pause and which keeps the words around it apart.
    void AddReading(std::string_view reading, ByteRange source) {
        m_fromReading = true;
        m_wordStart = true;
        for (std::size_t i = 0; i < reading.size();) {
            std::size_t j = i;
            while (j < reading.size() && static_cast<unsigned char>(reading[j]) >= 0xA6 &&
                   static_cast<unsigned char>(reading[j]) <= 0xDF) {
                ++j;
            }
            if (j == i) {
                Add(kBlank, source);
                ++i;
                continue;
            }
            for (const char32_t c : FullWidthKana(DecodeCp932(reading.substr(i, j - i)))) {
                Add(c, source);
            }
            i = j;
        }
        m_fromReading = false;
    }

    // The character at byte i of the chunk (chunk[i..], zero-padded) as written; returns its
    // length. Half-width kana are taken with a voicing mark after them, so that ｶﾞ is one ガ;
    // a character beyond JIS X 0208 is written in the form it is read in (髙 as 高, ㈱ as
    // 株式会社); a byte that is no character is left out.
    std::size_t AddAsWritten(std::string_view chunk, std::size_t i, std::size_t offset) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(chunk.data());
        std::size_t len = Cp932CharLength(chunk, i);
        if (len == 1 && bytes[i] >= 0xA1 && bytes[i] <= 0xDF && i + 1 < chunk.size() &&
            (bytes[i + 1] == 0xDE || bytes[i + 1] == 0xDF)) {
            len = 2;
        }
        const ByteRange source{offset + i, offset + i + len};
        const std::u16string decoded = DecodeCp932(chunk.substr(i, len));
        const std::string_view form =
            len == 2 && decoded.size() == 1 ? ExtensionCharForm(decoded[0]) : std::string_view();
        for (const char32_t c : form.empty() ? FullWidthKana(decoded) : DecodeUtf8Points(form)) {
            if (c < 0x20 || c == 0x7F) {
                Add(' ', source);
            } else if (Cp932CodeOf(static_cast<char16_t>(c)) != 0 || (c >= 0x3000 && c < 0xE000) ||
                       (c >= 0xF900 && c < 0xFFF0)) {
                Add(c, source);
            }
            // Anything else is an escape of a byte that is no character: nothing to say.
        }
        return len;
    }

private:
    EngineText& m_out;
    bool m_fromReading = false; // what is added is from the automatic reading
    bool m_wordStart = true;    // the next character added starts a word
};

// Without the automatic reading: what stands at byte i of the chunk in its place (a gaiji as
// its character, a ruby's base as its ruby, a user's word as its reading), written; the byte
// after it, or 0 when nothing does.
std::size_t AddGivenWithoutReading(EngineTextWriter& writer, const unsigned char* bytes,
                                   std::size_t i, std::size_t n, std::size_t offset,
                                   const AozoraNotation* notation, const DictionaryView* dic) {
    if (notation != nullptr) {
        const auto gaiji =
            Holding(notation->gaiji, i, [](const NotationText& g) { return g.range; });
        if (gaiji != nullptr && gaiji->range.begin == i) {
            const std::string_view common = CommonKanjiForm(gaiji->utf8);
            writer.AddGiven(
                DecodeUtf8Points(common.empty() ? std::string_view(gaiji->utf8) : common),
                {offset + i, offset + gaiji->range.end});
            return gaiji->range.end;
        }
        const auto ruby = Holding(notation->ruby, i, [](const RubyWord& r) { return r.base; });
        if (ruby != nullptr && ruby->base.begin == i && !ruby->reading.empty()) {
            writer.AddGiven(DecodeUtf8Points(ruby->reading), {offset + i, offset + ruby->base.end});
            return ruby->base.end;
        }
    }
    if (dic != nullptr) {
        if (const int slot = dic->FirstUserMatch(bytes + i); slot >= 0) {
            const std::size_t end = std::min(i + dic->Word(slot).size(), n);
            const std::u32string reading = FullWidthKana(DecodeCp932(dic->Reading(slot)));
            if (!reading.empty() && end > i) {
                writer.AddGiven(reading, {offset + i, offset + end});
                return end;
            }
        }
    }
    return 0;
}

} // namespace

std::u32string FullWidthKana(std::u16string_view text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i];
        if (ch < kHalfFirst || ch > kHalfLast) {
            out.push_back(ch);
            continue;
        }
        const char32_t full = kFullForms[ch - kHalfFirst];
        const char16_t next = i + 1 < text.size() ? text[i + 1] : 0;
        if (next == kHalfVoiced && Voiced(full) != 0) {
            out.push_back(Voiced(full));
            ++i;
        } else if (next == kHalfSemiVoiced && SemiVoiced(full) != 0) {
            out.push_back(SemiVoiced(full));
            ++i;
        } else {
            out.push_back(full);
        }
    }
    return out;
}

char32_t FoldChar(char32_t c) {
    if (c >= 0xFF01 && c <= 0xFF5E) {
        c = c - 0xFF01 + 0x21;
    } else if (c == 0x3000) {
        c = ' ';
    } else if (c >= U'ぁ' && c <= U'ゖ') {
        c = c - U'ぁ' + U'ァ';
    }
    if (c >= 'A' && c <= 'Z') {
        c = c - 'A' + 'a';
    }
    return c;
}

std::u32string DecodeUtf8Points(std::string_view utf8) {
    std::u32string out;
    const auto* p = reinterpret_cast<const std::uint8_t*>(utf8.data());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t n = Utf8SequenceLength(p + i, utf8.size() - i);
        if (n == 0) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        char32_t cp = n == 1 ? p[i] : n == 2 ? p[i] & 0x1Fu : n == 3 ? p[i] & 0x0Fu : p[i] & 0x07u;
        for (std::size_t k = 1; k < n; ++k) {
            cp = cp << 6 | (p[i + k] & 0x3Fu);
        }
        out.push_back(cp);
        i += n;
    }
    return out;
}

EngineText BuildEngineText(std::string_view text, ByteRange chunk, const DictionaryView* dic,
                           const std::string& analyzerFolder, const AozoraNotation* notation) {
    // A chunk for an engine process opens its own: the process costs far more than the open.
    AnalyzerLoader reader;
    reader.SetConfiguredDictionary(analyzerFolder);
    return BuildEngineText(text, chunk, dic, reader, notation);
}

EngineText BuildEngineText(std::string_view text, ByteRange chunk, const DictionaryView* dic,
                           AnalyzerLoader& reader, const AozoraNotation* notation) {
    EngineText out;
    // The dictionary's lookup reads 12 bytes past a character, zero-padded at the chunk's end, so
    // that no user word reaches beyond it.
    std::string padded(text.substr(chunk.begin, chunk.end - chunk.begin));
    padded.append(kWordSlotSize, '\0');
    const auto* bytes = reinterpret_cast<const unsigned char*>(padded.data());
    const std::size_t n = chunk.end - chunk.begin;
    // Looked at through a view: a copy of the chunk for each character would make a long
    // chunk's text cost the square of its length.
    const std::string_view view = std::string_view(padded).substr(0, n);
    std::optional<AozoraNotation> local;
    if (notation != nullptr) {
        local = NotationWithin(*notation, chunk.begin, chunk.end);
    }
    const AozoraNotation* own = local ? &*local : nullptr;
    const std::vector<std::optional<ReadingPiece>> pieces = ReadingPieces(view, dic, reader, own);
    const bool read = !pieces.empty();
    EngineTextWriter writer(out);
    std::size_t wordEnd = 0; // the end of the reading's word being written as it is written
    for (std::size_t i = 0; i < n;) {
        if (read && pieces[i]) {
            const ReadingPiece& piece = *pieces[i];
            if (piece.given) {
                writer.AddReading(piece.reading, {chunk.begin + i, chunk.begin + piece.end});
                i = piece.end;
                continue;
            }
            writer.StartWord();
            wordEnd = piece.end;
        } else if (i >= wordEnd) {
            writer.StartWord();
        }
        if (const NotationRange* silent = SilentAt(own, i)) {
            i = silent->end;
            continue;
        }
        if (!read) {
            if (const std::size_t end =
                    AddGivenWithoutReading(writer, bytes, i, n, chunk.begin, own, dic);
                end != 0) {
                i = end;
                continue;
            }
        }
        i += writer.AddAsWritten(view, i, chunk.begin);
    }
    return out;
}

std::vector<EngineText> SplitEngineText(const EngineText& text, std::size_t maxBytes) {
    // The bytes of each character (utf8 holds one character for each of folded).
    std::vector<std::size_t> sizes;
    sizes.reserve(text.folded.size());
    const auto* p = reinterpret_cast<const std::uint8_t*>(text.utf8.data());
    for (std::size_t i = 0; i < text.utf8.size();) {
        const std::size_t n =
            std::max<std::size_t>(1, Utf8SequenceLength(p + i, text.utf8.size() - i));
        sizes.push_back(n);
        i += n;
    }
    const std::size_t count = std::min(sizes.size(), text.folded.size());
    const auto slice = [&](std::size_t from, std::size_t to) {
        EngineText part;
        std::size_t byte = 0;
        for (std::size_t k = 0; k < from; ++k) {
            byte += sizes[k];
        }
        std::size_t length = 0;
        for (std::size_t k = from; k < to; ++k) {
            length += sizes[k];
        }
        part.utf8 = text.utf8.substr(byte, length);
        const auto at = [&](const auto& v) {
            return std::vector(v.begin() + static_cast<std::ptrdiff_t>(from),
                               v.begin() + static_cast<std::ptrdiff_t>(to));
        };
        part.folded = at(text.folded);
        part.sources = at(text.sources);
        part.fromReading = at(text.fromReading);
        part.wordStart = at(text.wordStart);
        return part;
    };
    std::vector<EngineText> parts;
    for (std::size_t start = 0; start < count;) {
        std::size_t end = start;
        std::size_t bytes = 0;
        while (end < count && bytes + sizes[end] <= maxBytes) {
            bytes += sizes[end++];
        }
        if (end == count) {
            parts.push_back(slice(start, end));
            break;
        }
        end = std::max(end, start + 1); // a character longer than the limit goes alone
        // The best cut within the limit, the latest of its kind.
        std::size_t cut = 0;
        for (int kind = 0; kind < 4 && cut == 0; ++kind) {
            for (std::size_t k = end; k > start && cut == 0; --k) {
                const char32_t before = text.folded[k - 1];
                const bool fits = kind == 0   ? IsPausePunctuation(static_cast<char16_t>(before))
                                  : kind == 1 ? before == U' '
                                  : kind == 2 ? text.wordStart[k] != 0
                                              : StartsMora(text.folded[k]);
                if (fits && k < count) {
                    cut = k;
                }
            }
        }
        if (cut <= start) {
            cut = end;
        }
        parts.push_back(slice(start, cut));
        start = cut;
    }
    return parts;
}

} // namespace yomi6::natural
