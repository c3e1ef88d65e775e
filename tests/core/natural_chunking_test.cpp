// Cutting the text into the chunks the engine is given.
#include "natural/chunking.h"
#include "natural_engine_support.h"
#include "text/cp932_codec.h"
#include "text/utf8_codec.h"

#include <gtest/gtest.h>

namespace yomi6::natural {
namespace {

using test::Sjis;

std::vector<std::u16string> Pieces(const std::string& text, const std::vector<ByteRange>& chunks) {
    std::vector<std::u16string> out;
    out.reserve(chunks.size());
    for (const ByteRange& r : chunks) {
        out.push_back(DecodeCp932(std::string_view(text).substr(r.begin, r.end - r.begin)));
    }
    return out;
}

TEST(NaturalChunking, SentencesAndLineEnds) {
    const std::string text = Sjis(u"今日は晴れ。明日は？\r\n雨！ABC! ok?\n\n　　\n、。\nend");
    const auto chunks = SplitChunks(text, {200, 200});
    const std::vector<std::u16string> expected = {u"今日は晴れ。", u"明日は？", u"雨！",
                                                  u"ABC!",         u" ok?",     u"end"};
    EXPECT_EQ(Pieces(text, chunks), expected); // the lines of blanks or punctuation are left out
    for (std::size_t k = 1; k < chunks.size(); ++k) {
        EXPECT_LE(chunks[k - 1].end, chunks[k].begin);
    }
    EXPECT_EQ(chunks.back().end, text.size());
}

TEST(NaturalChunking, TheFullWidthStopEndsASentenceAndADecimalPointDoesNot) {
    const std::string text = Sjis(u"値は3.14です．次へ。Go. Now!?");
    const std::vector<std::u16string> expected = {u"値は3.14です．", u"次へ。", u"Go.", u" Now!?"};
    EXPECT_EQ(Pieces(text, SplitChunks(text, {200, 200})), expected);
}

TEST(NaturalChunking, LongSentenceIsCutAtCommaThenBlankThenLength) {
    ChunkLimits limits{10, 10};
    // A comma within the limit: cut after it.
    const std::string comma = Sjis(u"あいうえお、かきくけこさしすせ。");
    EXPECT_EQ(Pieces(comma, SplitChunks(comma, limits)),
              (std::vector<std::u16string>{u"あいうえお、", u"かきくけこさしすせ。"}));
    // No comma: after the last blank.
    const std::string blank = Sjis(u"あいう えおかきくけこさし");
    EXPECT_EQ(Pieces(blank, SplitChunks(blank, limits)),
              (std::vector<std::u16string>{u"あいう ", u"えおかきくけこさし"}));
    // Neither: at the limit itself, never splitting a two-byte character.
    const std::string plain = Sjis(u"あいうえおかきくけこさしすせそたちつてと");
    const auto chunks = SplitChunks(plain, limits);
    EXPECT_EQ(Pieces(plain, chunks),
              (std::vector<std::u16string>{u"あいうえおかきくけこ", u"さしすせそたちつてと"}));
}

TEST(NaturalChunking, NoChunkIsLongerThanTheLimitOnALongLine) {
    // The engine fails on one very long line: a 30 KB line without any mark is cut up.
    std::u16string line;
    for (int k = 0; k < 15000; ++k) {
        line += k % 97 == 96 ? u'、' : u'あ';
    }
    const std::string text = Sjis(line);
    const auto chunks = SplitChunks(text);
    std::size_t covered = 0;
    for (const ByteRange& r : chunks) {
        EXPECT_LE(r.end - r.begin, 2 * 200u);
        EXPECT_EQ(r.begin, covered); // nothing lost between chunks
        covered = r.end;
    }
    EXPECT_EQ(covered, text.size());
}

TEST(NaturalChunking, FirstChunkIsCutShortAtACommaOnly) {
    const std::string text = Sjis(u"はじめに、とても長い文がここから続いていきます。次の文。");
    const auto chunks = SplitChunks(text, {200, 8});
    ASSERT_GE(chunks.size(), 2u);
    EXPECT_EQ(Pieces(text, chunks)[0], u"はじめに、");
    EXPECT_EQ(Pieces(text, chunks)[1], u"とても長い文がここから続いていきます。");
    // Without a comma or blank the first chunk runs to its sentence's end.
    const std::string plain = Sjis(u"とても長い文がここから続いていきます。");
    EXPECT_EQ(SplitChunks(plain, {200, 8}).size(), 1u);
}

TEST(NaturalChunking, AReadingHeardLiveEndsItsFirstChunkAfterItsFirstParticle) {
    ChunkLimits live;
    live.firstAtParticle = true;
    const auto cut = [&](std::u16string_view t) {
        const std::string text = Sjis(t);
        return Pieces(text, SplitChunks(text, live));
    };
    using Expected = std::vector<std::u16string>;
    // After a particle that closes a word and is followed by the next one; only the first
    // chunk is cut so.
    EXPECT_EQ(cut(u"今日は雨が降る。明日は晴れる。"),
              (Expected{u"今日は", u"雨が降る。", u"明日は晴れる。"}));
    EXPECT_EQ(cut(u"ゼミでカレーを食べた。"), (Expected{u"ゼミで", u"カレーを食べた。"}));
    // No cut after a particle in a run of kana (ここでは), nor after one that ends the sentence;
    // a comma alone does not end the first chunk.
    EXPECT_EQ(cut(u"ここでは雨が降る。"), (Expected{u"ここでは雨が", u"降る。"}));
    EXPECT_EQ(cut(u"選んだ文。"), (Expected{u"選んだ文。"}));
    EXPECT_EQ(cut(u"雨は。"), (Expected{u"雨は。"}));
    EXPECT_EQ(cut(u"はい、今日は雨。"), (Expected{u"はい、今日は", u"雨。"}));
    // The cut is reported where it is, for the pass to shorten the pause there; a sentence
    // that ends the first chunk is no such cut.
    const std::string text = Sjis(u"今日は雨が降る。");
    std::size_t particleCut = 0;
    EXPECT_EQ(SplitChunks(text, live, &particleCut).front(), (ByteRange{0, 6}));
    EXPECT_EQ(particleCut, 6u);
    particleCut = 0;
    SplitChunks(Sjis(u"雨は。明日は晴れる。"), live, &particleCut);
    EXPECT_EQ(particleCut, 0u);
    // Off, as for a rendering: the first sentence stays whole.
    EXPECT_EQ(SplitChunks(text, {}, &particleCut).size(), 1u);
    EXPECT_EQ(particleCut, 0u);
}

TEST(NaturalChunking, NoChunkEndsInsideAPieceReadWhole) {
    // A gaiji note (its 、 no comma, its 。 no sentence end) and a ruby's base, kept whole.
    const std::string text = Sjis(u"あいう※［＃「區＋鳥」、。］えお一二三四五六七八《ふ》。");
    const std::size_t gaiji = text.find(Sjis(u"※"));
    const std::size_t note = text.find(Sjis(u"］")) + 2;
    const std::size_t base = text.find(Sjis(u"一"));
    const std::size_t ruby = text.find(Sjis(u"《"));
    const std::vector<ByteRange> whole = {{gaiji, note}, {base, ruby}};
    const auto pieces = [&](ChunkLimits limits) {
        return Pieces(text, SplitChunks(text, limits, nullptr, whole));
    };
    using Expected = std::vector<std::u16string>;
    EXPECT_EQ(pieces({200, 200}),
              (Expected{u"あいう※［＃「區＋鳥」、。］えお一二三四五六七八《ふ》。"}));
    // A cut at the limit that would fall inside falls before the piece, or after it when the
    // piece starts the chunk.
    EXPECT_EQ(pieces({5, 5}), (Expected{u"あいう", u"※［＃「區＋鳥」、。］", u"えお",
                                        u"一二三四五六七八", u"《ふ》。"}));
}

TEST(NaturalChunking, HalfWidthAndLoneLeadBytes) {
    // ｱｲ｡ is three single bytes; a lead byte at the very end is one character.
    const std::string text = std::string("\xB1\xB2\xA1") + "x\x82";
    const auto chunks = SplitChunks(text);
    ASSERT_EQ(chunks.size(), 2u);
    EXPECT_EQ(chunks[0], (ByteRange{0, 3}));
    EXPECT_EQ(chunks[1], (ByteRange{3, 5}));
}

} // namespace
} // namespace yomi6::natural
