// Document files and the editor's text: encoding detection, UTF-8 decoding and encoding,
// line-end styles, and byte-exact saving of unedited documents.
#include "support/sjis.h"
#include "text/byte_escape.h"
#include "text/document_encoding.h"
#include "text/utf8_codec.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace yomi6 {
namespace {

using test::Hex;
using test::Sjis;
using test::ToHex;

// Opens and saves bytes unedited; the bytes must come back unchanged.
void ExpectSavedUnchanged(const std::string& bytes) {
    const DecodedDocument document = DecodeDocument(bytes);
    const EncodeResult saved = EncodeDocument(document.text, document.format);
    EXPECT_TRUE(saved.ok()) << ToHex(bytes);
    EXPECT_EQ(ToHex(saved.bytes), ToHex(bytes));
}

TEST(DocumentEncodingTest, DetectsUtf8OnlyWhenValidAndNotAscii) {
    EXPECT_EQ(DetectEncoding(""), TextEncoding::Cp932);
    EXPECT_EQ(DetectEncoding("plain ASCII\r\n"), TextEncoding::Cp932);
    EXPECT_EQ(DetectEncoding("日本語"), TextEncoding::Utf8);
    EXPECT_EQ(DetectEncoding("\xEF\xBB\xBF"
                             "日本語"),
              TextEncoding::Utf8WithBom);
    EXPECT_EQ(DetectEncoding("\xEF\xBB\xBF"), TextEncoding::Utf8WithBom);
    EXPECT_EQ(DetectEncoding("\xEF\xBB\xBF"
                             "ascii"),
              TextEncoding::Utf8WithBom);
    // Shift-JIS text is not valid UTF-8.
    EXPECT_EQ(DetectEncoding(Sjis("日本語のテキスト")), TextEncoding::Cp932);
    // A byte order mark before bytes that are not UTF-8 does not make a UTF-8 file.
    EXPECT_EQ(DetectEncoding("\xEF\xBB\xBF" + Sjis("あ")), TextEncoding::Cp932);
    EXPECT_EQ(DetectEncoding("\xF0\x9F\x98\x80"), TextEncoding::Utf8); // outside the BMP
}

// Shift-JIS half-width katakana that happen to be valid UTF-8 (two-byte characters only) are
// Shift-JIS; a UTF-8 reading with another byte, or a longer character, stays UTF-8.
TEST(DocumentEncodingTest, HalfWidthKatakanaThatAreAlsoUtf8AreShiftJis) {
    for (const char* text : {"ﾜ､", "ﾃｽﾄｶ ﾅｲ\r\n", "abc ﾜ､ ﾏｰ"}) {
        const std::string bytes = Sjis(text);
        ASSERT_TRUE(IsValidUtf8(bytes)) << text;
        EXPECT_EQ(DetectEncoding(bytes), TextEncoding::Cp932) << text;
    }
    const DecodedDocument document = DecodeDocument(Sjis("ﾜ､\r\n"));
    EXPECT_EQ(document.text, u"ﾜ､\n");
    EXPECT_EQ(document.format.encoding, TextEncoding::Cp932);
    // Cyrillic (a follower 0x9F), Japanese in UTF-8 (three bytes), and half-width katakana in
    // UTF-8 (EF BE 9C) are UTF-8.
    for (const char* utf8 : {"Привет", "ﾜ、日本語", "ﾜ"}) {
        EXPECT_EQ(DetectEncoding(utf8), TextEncoding::Utf8) << utf8;
    }
}

TEST(DocumentEncodingTest, RejectsIllFormedUtf8) {
    for (const char* hex : {
             "C0 AF",       // overlong '/'
             "C1 BF",       // overlong
             "E0 80 AF",    // overlong three-byte form
             "E0 9F BF",    // overlong, just below U+0800
             "F0 80 80 AF", // overlong four-byte form
             "F0 8F BF BF", // overlong, just below U+10000
             "ED A0 80",    // a surrogate
             "ED BF BF",    // a surrogate
             "F4 90 80 80", // above U+10FFFF
             "F5 80 80 80", // no such lead byte
             "80",          // a continuation byte alone
             "E3 81",       // a sequence cut short at the end
             "E3 81 41",    // a sequence cut short before ASCII
             "C3 A9 FF",    // a valid character, then an invalid byte
         }) {
        const std::string bytes = Hex(hex);
        EXPECT_FALSE(IsValidUtf8(bytes)) << hex;
        EXPECT_EQ(DetectEncoding(bytes), TextEncoding::Cp932) << hex;
    }
    // The limits that are still well formed.
    for (const char* hex : {"C2 80", "DF BF", "E0 A0 80", "ED 9F BF", "EE 80 80", "EF BF BF",
                            "F0 90 80 80", "F4 8F BF BF"}) {
        EXPECT_TRUE(IsValidUtf8(Hex(hex))) << hex;
    }
}

TEST(DocumentEncodingTest, DecodesUtf8Documents) {
    const DecodedDocument plain = DecodeDocument("かな\r\n漢字😀\r\n");
    EXPECT_EQ(plain.format, (DocumentFormat{TextEncoding::Utf8, LineEnd::CrLf}));
    EXPECT_EQ(plain.text, u"かな\n漢字😀\n");

    const DecodedDocument marked = DecodeDocument("\xEF\xBB\xBF"
                                                  "かな\n");
    EXPECT_EQ(marked.format, (DocumentFormat{TextEncoding::Utf8WithBom, LineEnd::Lf}));
    EXPECT_EQ(marked.text, u"かな\n"); // the mark is not part of the text
}

TEST(DocumentEncodingTest, Utf8CharactersOfTheEscapeBlockAreKeptAsBytes) {
    // U+F741 would read back as an escaped byte; it stays its three bytes instead.
    const std::string bytes = "a\xEF\x9D\x81z";
    const std::u16string text = DecodeUtf8(bytes);
    EXPECT_EQ(text,
              std::u16string(u"a") + ByteEscape(0xEF) + ByteEscape(0x9D) + ByteEscape(0x81) + u"z");
    EXPECT_EQ(EncodeUtf8(text, {}).bytes, bytes);
}

TEST(DocumentEncodingTest, LineEndStyles) {
    struct Case {
        std::string bytes;
        std::u16string text;
        LineEnd style;
        bool irregular;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", u"a\nb\n", LineEnd::CrLf, false},
        {"a\nb\n", u"a\nb\n", LineEnd::Lf, false},
        {"a\rb\r", u"a\nb\n", LineEnd::Cr, false},
        {"ab", u"ab", LineEnd::CrLf, false}, // no line end: the default for new text
        {"", u"", LineEnd::CrLf, false},
        // Mixed: the most frequent kind is the style; the others stay bytes.
        {"a\r\nb\r\nc\nd\re", u"a\nb\nc\uF70Ad\uF70De", LineEnd::CrLf, true},
        {"a\nb\nc\r\nd", u"a\nb\nc\uF70D\nd", LineEnd::Lf, true},
        {"a\rb\rc\r\nd", u"a\nb\nc\n\uF70Ad", LineEnd::Cr, true},
        {"a\r\nb\n", u"a\nb\uF70A", LineEnd::CrLf, true}, // a tie goes to CR LF
    };
    for (const Case& c : cases) {
        const DecodedDocument document = DecodeDocument(c.bytes);
        EXPECT_EQ(document.text, c.text) << ToHex(c.bytes);
        EXPECT_EQ(document.format.lineEnd, c.style) << ToHex(c.bytes);
        EXPECT_EQ(document.irregularLineEnds, c.irregular) << ToHex(c.bytes);
        ExpectSavedUnchanged(c.bytes);
        ExpectSavedUnchanged("\xEF\xBB\xBF" + c.bytes + "é");
    }
}

TEST(DocumentEncodingTest, AnEditedDocumentKeepsItsStyle) {
    DecodedDocument document = DecodeDocument(Sjis("一行目\r\n"));
    document.text += u"二行目\n";
    EXPECT_EQ(EncodeDocument(document.text, document.format).bytes, Sjis("一行目\r\n二行目\r\n"));

    document = DecodeDocument("line\n");
    document.text += u"次\n";
    EXPECT_EQ(EncodeDocument(document.text, document.format).bytes, "line\n" + Sjis("次\n"));
}

TEST(DocumentEncodingTest, UnknownBytesSurviveOpenAndSave) {
    ExpectSavedUnchanged(Sjis("あいう") + Hex("85 40 87 90 FF 82"));
    ExpectSavedUnchanged(Hex("EF BB BF 82 A0")); // a mark before Shift-JIS
    ExpectSavedUnchanged(Hex("0D 82 0A 0D 0D 0A 85 0D"));
    ExpectSavedUnchanged("\xEF\xBB\xBF\xEF\xBB\xBF"); // two marks: the second is text
}

TEST(DocumentEncodingTest, RandomFilesSaveBackByteForByte) {
    std::mt19937 rng(1048575);
    // Bytes drawn from line ends, ASCII, Shift-JIS and UTF-8 pieces, so that every encoding
    // and every line-end style is met, not only invalid bytes.
    const std::string pieces[] = {"\r",           "\n",
                                  "\r\n",         "a",
                                  "\x82\xA0",     "\x85",
                                  "\xFF",         "\xE3\x81\x82",
                                  "\xEF\xBB\xBF", "\xF0\x9F\x98\x80",
                                  "\xEF\x9C\x8D", "\xB1"};
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> count(0, 40);
    int seen[3] = {};
    for (int round = 0; round < 20000; ++round) {
        std::string bytes;
        const int n = count(rng);
        const bool utf8Only = round % 3 == 0;
        for (int k = 0; k < n; ++k) {
            const std::string& piece = pieces[pick(rng)];
            if (!utf8Only || IsValidUtf8(piece)) {
                bytes += piece;
            }
        }
        ++seen[static_cast<int>(DetectEncoding(bytes))];
        const DecodedDocument document = DecodeDocument(bytes);
        const EncodeResult saved = EncodeDocument(document.text, document.format);
        ASSERT_TRUE(saved.ok()) << ToHex(bytes);
        ASSERT_EQ(saved.bytes, bytes) << ToHex(bytes);
    }
    EXPECT_GT(seen[0], 1000);
    EXPECT_GT(seen[1], 1000);
    EXPECT_GT(seen[2], 100);
}

TEST(DocumentEncodingTest, ShiftJisDocumentWithForeignCharactersSavesAsUtf8) {
    DecodedDocument document = DecodeDocument(Sjis("日本\r\n"));
    document.text += u"한국어😀";
    const EncodeResult asShiftJis = EncodeDocument(document.text, document.format);
    EXPECT_FALSE(asShiftJis.ok());
    EXPECT_TRUE(asShiftJis.bytes.empty());
    ASSERT_EQ(asShiftJis.unencodable.size(), 4u);
    EXPECT_EQ(asShiftJis.unencodable[0].position, 3u);
    EXPECT_EQ(asShiftJis.unencodable[3].codePoint, U'😀');

    document.format.encoding = TextEncoding::Utf8;
    const EncodeResult asUtf8 = EncodeDocument(document.text, document.format);
    EXPECT_TRUE(asUtf8.ok());
    EXPECT_EQ(asUtf8.bytes, "日本\r\n한국어😀");
    const DecodedDocument reopened = DecodeDocument(asUtf8.bytes);
    EXPECT_EQ(reopened.text, document.text);
    EXPECT_EQ(reopened.format, document.format);
}

TEST(DocumentEncodingTest, RawBytesOfAShiftJisDocumentSavedAsUtf8AreReported) {
    // 0x85 0x40 is no character: escaped as two bytes. Saved as UTF-8, the 0x40 is a valid
    // '@', the 0x85 would make the file invalid UTF-8. The odd CR stays a CR.
    DecodedDocument document = DecodeDocument(Sjis("あ") + Hex("85 40") + "\r\n\r\r\n");
    ASSERT_TRUE(document.irregularLineEnds);
    document.format.encoding = TextEncoding::Utf8WithBom;
    const EncodeResult failed = EncodeDocument(document.text, document.format);
    ASSERT_EQ(failed.unencodable.size(), 1u);
    EXPECT_EQ(failed.unencodable[0].position, 1u);
    EXPECT_EQ(failed.unencodable[0].codePoint, ByteEscape(0x85));
    EXPECT_TRUE(failed.bytes.empty());

    const EncodeResult replaced =
        EncodeDocument(document.text, document.format, OnUnencodable::Replace);
    EXPECT_EQ(replaced.bytes, "\xEF\xBB\xBF"
                              "あ\xEF\xBF\xBD@\r\n\r\r\n");
    EXPECT_TRUE(IsValidUtf8(replaced.bytes));
}

TEST(DocumentEncodingTest, LoneSurrogatesNeverReachAUtf8File) {
    const std::u16string text = u"a\xD83D"
                                u"b\xDE00";
    const EncodeResult failed = EncodeUtf8(text, {});
    ASSERT_EQ(failed.unencodable.size(), 2u);
    EXPECT_EQ(failed.unencodable[0].position, 1u);
    EXPECT_EQ(failed.unencodable[1].position, 3u);
    const EncodeResult replaced = EncodeUtf8(text, {LineEnd::Lf, OnUnencodable::Replace});
    EXPECT_EQ(replaced.bytes, "a\xEF\xBF\xBD"
                              "b\xEF\xBF\xBD");
}

TEST(DocumentEncodingTest, DecodingInvalidUtf8KeepsEveryByte) {
    // Not what a document is ever opened as, but the decoder still loses nothing.
    const std::string bytes = Hex("41 C0 AF E3 81 82 E3 81 FF");
    const std::u16string text = DecodeUtf8(bytes);
    EXPECT_EQ(text, std::u16string(u"A") + ByteEscape(0xC0) + ByteEscape(0xAF) + u"あ" +
                        ByteEscape(0xE3) + ByteEscape(0x81) + ByteEscape(0xFF));
}

} // namespace
} // namespace yomi6
