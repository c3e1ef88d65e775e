// The code page 932 codec: byte-exact round trips, the characters of the code page and its
// special codes, escaped bytes, characters it cannot hold, and the text the speech path reads.
#include "support/sjis.h"
#include "text/byte_escape.h"
#include "text/cp932_codec.h"
#include "text/cp932_table.h"
#include "text/speech_text.h"

#include <gtest/gtest.h>

#include <iconv.h>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace yomi6 {
namespace {

using test::Hex;
using test::Sjis;
using test::ToHex;

std::string RoundTrip(const std::string& bytes) {
    const EncodeResult result = EncodeCp932(DecodeCp932(bytes), {});
    EXPECT_TRUE(result.ok()) << ToHex(bytes);
    return result.bytes;
}

std::u16string Escapes(const std::string& bytes) {
    std::u16string text;
    for (const char b : bytes) {
        text += ByteEscape(static_cast<std::uint8_t>(b));
    }
    return text;
}

TEST(Cp932CodecTest, EverySingleByteAndEveryPairRoundTrip) {
    for (int b = 0; b < 256; ++b) {
        const std::string bytes(1, static_cast<char>(b));
        ASSERT_EQ(RoundTrip(bytes), bytes) << ToHex(bytes);
    }
    // Each pair also followed by a lead byte and by an ASCII byte, so that a pair that is not
    // one code shows whether its second byte is read again as the start of the next one.
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) {
            std::string bytes{static_cast<char>(a), static_cast<char>(b)};
            ASSERT_EQ(RoundTrip(bytes), bytes) << ToHex(bytes);
            bytes += "\x82";
            ASSERT_EQ(RoundTrip(bytes), bytes) << ToHex(bytes);
            bytes.back() = 'A';
            ASSERT_EQ(RoundTrip(bytes), bytes) << ToHex(bytes);
        }
    }
}

TEST(Cp932CodecTest, RandomByteStringsRoundTrip) {
    std::mt19937 rng(932);
    std::uniform_int_distribution<int> length(0, 200);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> high(0x80, 0xFF);
    for (int round = 0; round < 20000; ++round) {
        std::string bytes(static_cast<std::size_t>(length(rng)), '\0');
        for (char& c : bytes) {
            // Mostly high bytes: that is where leads, trails and invalid codes are.
            c = static_cast<char>(round % 2 == 0 ? byte(rng) : high(rng));
        }
        ASSERT_EQ(RoundTrip(bytes), bytes) << ToHex(bytes);
    }
}

TEST(Cp932CodecTest, DecodesKnownCharacters) {
    EXPECT_EQ(DecodeCp932(Hex("82 A0")), u"あ");
    EXPECT_EQ(DecodeCp932(Hex("B1")), u"ｱ");
    EXPECT_EQ(DecodeCp932(Hex("93 FA 96 7B")), u"日本");
    EXPECT_EQ(DecodeCp932(Hex("5C 7E")), u"\\~"); // ASCII, not yen sign and overline
    // The code page's own choices for JIS X 0208 symbols.
    EXPECT_EQ(DecodeCp932(Hex("81 60")), u"\uFF5E");
    EXPECT_EQ(DecodeCp932(Hex("81 5F")), u"\uFF3C");
    EXPECT_EQ(DecodeCp932(Hex("81 7C")), u"\uFF0D");
    EXPECT_EQ(DecodeCp932(Hex("81 61")), u"\u2225");
    EXPECT_EQ(DecodeCp932(Hex("81 91 81 92 81 CA")), u"\uFFE0\uFFE1\uFFE2");
    // Single bytes outside JIS X 0201.
    EXPECT_EQ(DecodeCp932(Hex("80 A0 FD FE FF")), u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3");
    // NEC row 13, IBM extensions and the user-defined area at both ends.
    EXPECT_EQ(DecodeCp932(Hex("87 40 87 54")), u"①Ⅰ");
    EXPECT_EQ(DecodeCp932(Hex("FA 40 FB FC FC 4B")), u"ⅰ髙黑");
    EXPECT_EQ(DecodeCp932(Hex("ED 40")), Escapes(Hex("ED 40"))); // the IBM code 0xFA5C wins
    EXPECT_EQ(DecodeCp932(Hex("F0 40 F9 FC")), u"\uE000\uE757");
}

TEST(Cp932CodecTest, EncodesKnownCharactersToTheirWindowsCodes) {
    const auto encode = [](std::u16string_view text) { return EncodeCp932(text, {}).bytes; };
    EXPECT_EQ(ToHex(encode(u"あｱ日本")), "82 A0 B1 93 FA 96 7B");
    EXPECT_EQ(ToHex(encode(u"\uFF5E\uFF3C\uFF0D")), "81 60 81 5F 81 7C");
    // Duplicated characters take their preferred code: JIS X 0208 first, then NEC row 13,
    // then the IBM rows before the NEC-selected copies of them.
    EXPECT_EQ(ToHex(encode(u"≒¬∵")), "81 E0 81 CA 81 E6");
    EXPECT_EQ(ToHex(encode(u"Ⅰ№㈱")), "87 54 87 82 87 8A");
    EXPECT_EQ(ToHex(encode(u"ⅰ纊髙￤")), "FA 40 FA 5C FB FC FA 55");
    EXPECT_EQ(ToHex(encode(u"\uE000\uE757")), "F0 40 F9 FC");
    // The JIS X 0208 mappings of some symbols are accepted for the same codes.
    EXPECT_EQ(ToHex(encode(u"\u301C\u2016\u2212\u00A2\u00A3\u00AC")),
              "81 60 81 61 81 7C 81 91 81 92 81 CA");
}

TEST(Cp932CodecTest, AgreesWithTheSystemConverterWhereBothDecode) {
    // glibc's converter is an independent reading of the same code page: wherever it decodes a
    // code to one character and the codec does not escape the code, the two must agree.
    iconv_t cd = ::iconv_open("UTF-16LE", "CP932");
    // NOLINTNEXTLINE(performance-no-int-to-ptr): iconv_open says a failure so
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    int compared = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            char16_t out[4] = {};
            char* inp = in;
            char* outp = reinterpret_cast<char*>(out);
            std::size_t inLeft = 2;
            std::size_t outLeft = sizeof out;
            ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (::iconv(cd, &inp, &inLeft, &outp, &outLeft) == static_cast<std::size_t>(-1) ||
                sizeof out - outLeft != 2) {
                continue;
            }
            const std::u16string ours = DecodeCp932(std::string(in, 2));
            if (ours.size() == 1) {
                ASSERT_EQ(ours[0], out[0]) << ToHex(std::string(in, 2));
                ++compared;
            }
        }
    }
    ::iconv_close(cd);
    EXPECT_GT(compared, 7000);
}

TEST(Cp932CodecTest, DuplicateCodesAreEscapedAndWrittenBack) {
    // 0x8790 and 0xEEF9 decode to characters whose own codes are 0x81E0 and 0x81CA.
    for (const char* hex : {"87 90", "EE F9", "FA 54", "ED 40", "EE EF", "FA 4A"}) {
        const std::string bytes = Hex(hex);
        EXPECT_EQ(DecodeCp932(bytes), Escapes(bytes)) << hex;
        EXPECT_EQ(RoundTrip(bytes), bytes) << hex;
    }
}

TEST(Cp932CodecTest, InvalidBytesBecomeEscapes) {
    // A lead byte at the end, before a byte that is no trail, before a line end.
    EXPECT_EQ(DecodeCp932(Hex("41 82")), u"A" + Escapes(Hex("82")));
    EXPECT_EQ(DecodeCp932(Hex("81 7F 41")), Escapes(Hex("81")) + u"\u007FA");
    EXPECT_EQ(DecodeCp932(Hex("82 0D 0A")), Escapes(Hex("82")) + u"\r\n");
    // A lead and a trail byte that are no character are one code: both escaped, and the byte
    // after them starts the next code.
    EXPECT_EQ(DecodeCp932(Hex("85 40 82 A0")), Escapes(Hex("85 40")) + u"あ");
    EXPECT_EQ(DecodeCp932(Hex("EF FC")), Escapes(Hex("EF FC")));
}

TEST(Cp932CodecTest, TheEscapeBlockIsNeverACharacterOfTheCodePage) {
    int characters = 0;
    const auto check = [&](char16_t ch) {
        if (ch != cp932::kNoChar) {
            EXPECT_FALSE(IsByteEscape(ch)) << static_cast<unsigned>(ch);
            ++characters;
        }
    };
    for (const char16_t ch : cp932::kSingleByteChars) {
        check(ch);
    }
    for (const auto& row : cp932::kDoubleByteChars) {
        for (const char16_t ch : row) {
            check(ch);
        }
    }
    EXPECT_EQ(characters, 9402); // every character of the code page exactly once
    for (char32_t ch = kByteEscapeFirst; ch <= kByteEscapeLast; ++ch) {
        EXPECT_EQ(Cp932CodeOf(static_cast<char16_t>(ch)), 0);
    }
}

TEST(Cp932CodecTest, EscapesWriteTheirBytes) {
    const std::u16string text = u"あ" + Escapes(Hex("85 40 FF 0A 00")) + u"い";
    EXPECT_EQ(ToHex(EncodeCp932(text, {LineEnd::CrLf}).bytes), "82 A0 85 40 FF 0A 00 82 A2");
}

TEST(Cp932CodecTest, ReportsCharactersItCannotHold) {
    // é, an emoji (a surrogate pair), a lone high and a lone low surrogate, yen sign.
    const std::u16string text = u"aé\U0001F600b\xD800"
                                u"c\xDC00¥";
    const EncodeResult failed = EncodeCp932(text, {});
    EXPECT_FALSE(failed.ok());
    EXPECT_TRUE(failed.bytes.empty());
    ASSERT_EQ(failed.unencodable.size(), 5u);
    EXPECT_EQ(failed.unencodable[0].position, 1u);
    EXPECT_EQ(failed.unencodable[0].codePoint, U'é');
    EXPECT_EQ(failed.unencodable[1].position, 2u);
    EXPECT_EQ(failed.unencodable[1].codePoint, U'\U0001F600');
    EXPECT_EQ(failed.unencodable[2].position, 5u);
    EXPECT_EQ(failed.unencodable[2].codePoint, 0xD800u);
    EXPECT_EQ(failed.unencodable[3].position, 7u);
    EXPECT_EQ(failed.unencodable[3].codePoint, 0xDC00u);
    EXPECT_EQ(failed.unencodable[4].position, 8u);

    const EncodeResult replaced = EncodeCp932(text, {LineEnd::Lf, OnUnencodable::Replace});
    EXPECT_EQ(replaced.bytes, "a  b c  ");
    EXPECT_EQ(replaced.unencodable.size(), 5u);
}

TEST(Cp932CodecTest, WritesLineBreaksInTheChosenStyle) {
    const std::u16string text = u"あ\nい\r\nう\r";
    EXPECT_EQ(ToHex(EncodeCp932(text, {LineEnd::CrLf}).bytes), "82 A0 0D 0A 82 A2 0D 0A 82 A4 0D");
    EXPECT_EQ(ToHex(EncodeCp932(text, {LineEnd::Lf}).bytes), "82 A0 0A 82 A2 0D 0A 82 A4 0D");
    EXPECT_EQ(ToHex(EncodeCp932(text, {LineEnd::Cr}).bytes), "82 A0 0D 82 A2 0D 82 A4 0D");
}

TEST(SpeechTextTest, IsCodePage932WithCrLfAndBlanks) {
    EXPECT_EQ(SpeechBytes(u"今日は\nｱｲｳ"), Sjis("今日は\r\nｱｲｳ"));
    EXPECT_EQ(SpeechBytes(u"a\r\nb\rc"), "a\r\nb\rc");
    // Characters the code page cannot hold are blanks; escapes are their bytes.
    EXPECT_EQ(SpeechBytes(u"é\U0001F600\xD800x"), "   x");
    EXPECT_EQ(SpeechBytes(DecodeCp932(Hex("87 90 85"))), Hex("87 90 85"));
}

TEST(SpeechTextTest, CharactersTheCodePageLacksStandInTheirCommonForm) {
    // 鷗, 𠮟 and 𠮷 are read as 鴎, 叱 and 吉 (森鷗外 was ﾓﾘ ｿﾄ); a character without a common
    // form stays a blank. Each stand-in is noted with the character it stands for.
    const std::u16string text = u"森鷗外に𠮟られ𠮷野家😀。";
    std::vector<StandIn> standIns;
    EXPECT_EQ(SpeechBytes(text, std::numeric_limits<std::size_t>::max(), &standIns),
              Sjis("森鴎外に叱られ吉野家 。"));
    EXPECT_EQ(standIns,
              (std::vector<StandIn>{{2, 4, "鷗"}, {8, 10, "𠮟"}, {14, 16, "𠮷"}, {20, 21, "😀"}}));
    // The highlight's map gives the stand-in's bytes the character's place in the text.
    const SpeechSource source = SpeechSourceOf(text);
    EXPECT_EQ(source.bytes, SpeechBytes(text));
    EXPECT_EQ(source.TextSpan(2, 4).begin, 1u);
    EXPECT_EQ(source.TextSpan(8, 10).end, 6u); // 𠮟 is two UTF-16 units
    // A limit that falls inside a stand-in keeps its first byte, as it does inside any code.
    standIns.clear();
    EXPECT_EQ(ToHex(SpeechBytes(u"a鷗", 2, &standIns)), "61 89");
    EXPECT_TRUE(standIns.empty());
}

TEST(SpeechTextTest, StopsAtTheByteLimit) {
    const std::u16string text(5000, u'あ');
    const std::string bytes = SpeechBytes(text, 4000);
    EXPECT_EQ(bytes.size(), 4000u);
    EXPECT_EQ(bytes, SpeechBytes(text).substr(0, 4000));
    // A cut in the middle of a code keeps its first byte, as a byte limit does.
    EXPECT_EQ(ToHex(SpeechBytes(u"aあ", 2)), "61 82");
    EXPECT_EQ(SpeechBytes(u"ab", 0), "");
}

} // namespace
} // namespace yomi6
