#include "natural/engine_text.h"

#include "analysis/analyzer_loader.h"
#include "analysis/source_text.h"
#include "reading/automatic_reading.h"
#include "text/cp932_codec.h"
#include "text/utf8_codec.h"

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
// nothing or a short pause. They are left to the engine, so that a sentence in brackets (most of
// a novel's dialogue) does not open the analyzer for nothing.
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

// A piece of the automatic reading: the reading bytes (half-width katakana, blanks and pause
// marks) of one word, number, letter or sign, and its source bytes in the chunk.
struct ReadingPiece {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::string reading;
};

// The automatic reading's pieces of the chunk, by the byte each begins at, when the chunk holds
// a character that follows the reading; none when it holds none or the analyzer cannot be
// loaded (the engine then says the chunk its own way).
std::vector<std::optional<ReadingPiece>> ReadingPieces(std::string_view chunkBytes,
                                                       const DictionaryView* dic,
                                                       const std::string& analyzerFolder) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(chunkBytes.data());
    const std::size_t n = std::min(chunkBytes.size(), kMaxTextBytes);
    SourceText source;
    DecodeSource(bytes, n, source);
    if (std::none_of(source.chars.begin(), source.chars.end(), FollowsReading)) {
        return {};
    }
    // Each chunk opens its own: the engine is a process per chunk too, and an analyzer is an
    // open of mapped files, cheap beside it, that no other thread then shares.
    AnalyzerLoader loader;
    loader.SetConfiguredDictionary(analyzerFolder);
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
    const ReadingResult result = ConvertAutomatic(bytes, n, dic != nullptr ? *dic : noWords,
                                                  *analyzer, buffers->reading, buffers->source);
    const unsigned char* reading = buffers->reading;
    const SourceRange* ranges = buffers->source;
    std::vector<std::optional<ReadingPiece>> pieces(n);
    for (std::size_t k = 0; k < result.length;) {
        const SourceRange range = ranges[k];
        ReadingPiece piece{range.begin, range.end, {}};
        for (; k < result.length && ranges[k] == range; ++k) {
            piece.reading.push_back(static_cast<char>(reading[k]));
        }
        if (piece.begin < n && piece.end > piece.begin) {
            pieces[piece.begin] = std::move(piece);
        }
    }
    // Only the pieces that hold a character following the reading are kept.
    for (std::optional<ReadingPiece>& piece : pieces) {
        if (!piece) {
            continue;
        }
        bool follows = false;
        for (std::size_t i = source.CharAtSource(piece->begin);
             i < source.chars.size() && source.chars[i].begin < piece->end; ++i) {
            follows = follows || FollowsReading(source.chars[i]);
        }
        if (!follows) {
            piece.reset();
        }
    }
    return pieces;
}

// A piece of the automatic reading as the engine's text: its half-width katakana as full-width,
// each blank or pause mark of it (a sign said as nothing, a pause) as a blank, which the engine
// says as nothing or as a short pause and which keeps the words around it apart. Every
// character carries the piece's source bytes.
template <typename Add> void AddReading(std::string_view reading, ByteRange source, Add& add) {
    std::size_t i = 0;
    while (i < reading.size()) {
        std::size_t j = i;
        while (j < reading.size() && static_cast<unsigned char>(reading[j]) >= 0xA6 &&
               static_cast<unsigned char>(reading[j]) <= 0xDF) {
            ++j;
        }
        if (j == i) {
            add(U' ', source);
            ++i;
        } else {
            for (const char32_t c : FullWidthKana(DecodeCp932(reading.substr(i, j - i)))) {
                add(c, source);
            }
            i = j;
        }
    }
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
                           const std::string& analyzerFolder) {
    EngineText out;
    // The dictionary's lookup reads 12 bytes past a character, zero-padded at the chunk's end, so
    // that no user word reaches beyond it.
    std::string padded(text.substr(chunk.begin, chunk.end - chunk.begin));
    padded.append(kWordSlotSize, '\0');
    const auto* bytes = reinterpret_cast<const unsigned char*>(padded.data());
    // Looked at through a view: a copy of the chunk for each character would make a long
    // chunk's text cost the square of its length.
    const std::string_view view(padded);
    bool fromReading = false; // what add adds is from the automatic reading
    auto add = [&](char32_t c, ByteRange source) {
        AppendUtf8(out.utf8, c);
        out.folded.push_back(FoldChar(c));
        out.sources.push_back(source);
        out.fromReading.push_back(fromReading);
    };
    const std::size_t n = chunk.end - chunk.begin;
    const std::vector<std::optional<ReadingPiece>> pieces =
        ReadingPieces(view.substr(0, n), dic, analyzerFolder);
    for (std::size_t i = 0; i < n;) {
        if (dic != nullptr) {
            if (const int slot = dic->FirstUserMatch(bytes + i); slot >= 0) {
                const std::size_t end = std::min(i + dic->Word(slot).size(), n);
                const ByteRange word{chunk.begin + i, chunk.begin + end};
                const std::u32string reading = FullWidthKana(DecodeCp932(dic->Reading(slot)));
                if (!reading.empty() && end > i) {
                    for (const char32_t c : reading) {
                        add(c, word);
                    }
                    out.userWords.push_back(word);
                    i = end;
                    continue;
                }
            }
        }
        if (i < pieces.size() && pieces[i]) {
            const ReadingPiece& piece = *pieces[i];
            const ByteRange source{chunk.begin + piece.begin, chunk.begin + piece.end};
            fromReading = true;
            AddReading(piece.reading, source, add);
            fromReading = false;
            i = piece.end;
            continue;
        }
        // Half-width kana are taken with a voicing mark after them, so that ｶﾞ is one ガ.
        std::size_t len = Cp932CharLength(view.substr(0, n), i);
        const unsigned char b = bytes[i];
        if (len == 1 && b >= 0xA1 && b <= 0xDF && i + 1 < n &&
            (bytes[i + 1] == 0xDE || bytes[i + 1] == 0xDF)) {
            len = 2;
        }
        const ByteRange source{chunk.begin + i, chunk.begin + i + len};
        const std::u16string decoded = DecodeCp932(view.substr(i, len));
        for (const char32_t c : FullWidthKana(decoded)) {
            if (c < 0x20 || c == 0x7F) {
                add(' ', source);
            } else if (Cp932CodeOf(static_cast<char16_t>(c)) != 0 || (c >= 0x3000 && c < 0xE000) ||
                       (c >= 0xF900 && c < 0xFFF0)) {
                add(c, source);
            }
            // Anything else is an escape of a byte that is no character: nothing to say.
        }
        i += len;
    }
    return out;
}

} // namespace yomi6::natural
