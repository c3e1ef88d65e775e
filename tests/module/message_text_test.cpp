// What the module makes of a message: its SSML (marks, breaks, prosody; other tags never read
// aloud), bad bytes, and the speed, pitch and level the voice settings give.
#include "module/message_text.h"
#include "module/module_engines.h"
#include "module/speaking_loop.h"

#include <gtest/gtest.h>

#include <cmath>

namespace yomi6::module {
namespace {

MessagePiece Text(std::string text, double rate = 1, double pitch = 1) {
    return {PieceKind::Text, std::move(text), 0, rate, pitch};
}
MessagePiece Mark(std::string name) {
    return {PieceKind::Mark, std::move(name), 0, 1, 1};
}
MessagePiece Pause(int ms) {
    return {PieceKind::Break, {}, ms, 1, 1};
}

TEST(MessageText, MarkupGivesTextMarksAndBreaksAndNoTagIsSaid) {
    // As the server sends a plain text: wrapped, escaped, with its marks after sentences.
    EXPECT_EQ(
        ParseMessage("<speak>A &lt;b&gt; &amp; c.<mark name=\"__spd_0\"/> 次。</speak>").pieces,
        (std::vector{Text("A <b> & c."), Mark("__spd_0"), Text(" 次。")}));
    EXPECT_EQ(
        ParseMessage("<?xml version=\"1.0\"?><speak version='1.1' xml:lang=\"ja\">"
                     "<p><s>一<emphasis>二</emphasis></s></p><!-- <mark name='x'/> -->"
                     "<break time=\"1.5s\"/><say-as interpret-as=\"characters\">三</say-as>"
                     "<break/><break strength='none'/>&#x56DB;&#20116;&bogus;</speak>")
            .pieces,
        (std::vector{Text("一二\n"), Pause(1500), Text("三"), Pause(400), Text("四五&bogus;")}));
    // A tag cut short says nothing of itself; blanks alone are no text.
    EXPECT_EQ(
        ParseMessage("<speak>あ<mark name='a'/>  \n<mark name=\"b\"/>い<break time=\"2").pieces,
        (std::vector{Text("あ"), Mark("a"), Mark("b"), Text("い")}));
    // Plain text is said as it is, markup characters and all.
    EXPECT_EQ(ParseMessage("1 < 2 & <mark/>").pieces, (std::vector{Text("1 < 2 & <mark/>")}));
}

TEST(MessageText, ProsodyNestsAndEnds) {
    const auto pieces = ParseMessage("<speak>a<prosody rate=\"slow\" pitch=\"+2st\">b"
                                     "<prosody rate='200%'>c</prosody>d</prosody>e"
                                     "</prosody>f</speak>")
                            .pieces;
    const double up = std::pow(2.0, 2.0 / 12);
    EXPECT_EQ(pieces, (std::vector{Text("a"), Text("b", 0.75, up), Text("c", 1.5, up),
                                   Text("d", 0.75, up), Text("ef")}));
    EXPECT_DOUBLE_EQ(ProsodyRate("+50%"), 1.5);
    EXPECT_DOUBLE_EQ(ProsodyRate("x-fast"), 2);
    EXPECT_DOUBLE_EQ(ProsodyRate("-200%"), 1); // nothing left of it: not read
    EXPECT_DOUBLE_EQ(ProsodyRate("1000"), 4);
    EXPECT_DOUBLE_EQ(ProsodyPitch("-10%"), 0.9);
    EXPECT_DOUBLE_EQ(ProsodyPitch("high"), 1.15);
    EXPECT_DOUBLE_EQ(ProsodyPitch("nonsense"), 1);
    EXPECT_EQ(BreakMs("250ms", ""), 250);
    EXPECT_EQ(BreakMs("999s", ""), 10000);
    EXPECT_EQ(BreakMs("-1s", ""), 0);
    EXPECT_EQ(BreakMs("", "x-strong"), 1200);
}

TEST(MessageText, BadBytesAreBlanksAndCounted) {
    const ParsedMessage parsed = ParseMessage("<speak>a\xff\xfe"
                                              "b\xc3(\xe3\x81</speak>");
    EXPECT_EQ(parsed.invalidBytes, 5u);
    EXPECT_EQ(parsed.pieces, (std::vector{Text("a  b (  ")}));
    // A lone byte inside a tag does not break the tag.
    EXPECT_EQ(ParseMessage("<speak><mark name=\"\x80z\"/>x</speak>").pieces,
              (std::vector{Mark(" z"), Text("x")}));
}

TEST(SoundShape, RateAndPitchChangeTheSoundAndVolumeTheLevel) {
    VoiceParams params;
    EXPECT_EQ(ShapeOf(params, 1, 1, 180).speedMs, 180);
    params.rate = -100;
    EXPECT_EQ(ShapeOf(params, 1, 1, 180).speedMs, 720);
    params.rate = 100;
    EXPECT_EQ(ShapeOf(params, 1, 1, 180).speedMs, 45);
    params.rate = 0;
    EXPECT_EQ(ShapeOf(params, 2, 1, 180).speedMs, 90);     // <prosody rate> on top
    EXPECT_EQ(ShapeOf(params, 0.1, 1, 600).speedMs, 1000); // kept to the slowest speed

    // A higher pitch plays faster by its factor, its units lengthened by it: the same speed.
    params.pitch = 100;
    const SoundShape up = ShapeOf(params, 1, 1, 180);
    EXPECT_NEAR(up.pitchFactor, std::sqrt(2.0), 1e-9);
    EXPECT_EQ(up.speedMs, 255);
    params.pitch = -100;
    EXPECT_NEAR(ShapeOf(params, 1, 0.1, 180).pitchFactor, 0.5, 1e-9);

    params.volume = 0;
    EXPECT_DOUBLE_EQ(ShapeOf(params, 1, 1, 180).gain, 1);
    params.volume = -50;
    EXPECT_DOUBLE_EQ(ShapeOf(params, 1, 1, 180).gain, 0.5);
    params.volume = -100;
    EXPECT_DOUBLE_EQ(ShapeOf(params, 1, 1, 180).gain, 0);
}

TEST(SpokenKey, NamedKeysInJapaneseOthersAsTheyAre) {
    EXPECT_EQ(SpokenKey("shift_a"), "シフト a");
    EXPECT_EQ(SpokenKey("control_alt_delete"), "コントロール オルト デリート");
    EXPECT_EQ(SpokenKey("space"), "スペース");
    EXPECT_EQ(SpokenKey("x"), "x");
}

// The natural voice makes the pitch with its own half-tone control, on top of the settings',
// and its sound is played as it comes: no lengthening of its units, no faster playing.
TEST(SoundShape, TheNaturalVoiceTakesThePitchAsHalfTonesAtTheUnlengthenedSpeed) {
    VoiceParams params;
    params.pitch = 100;
    const SoundShape up = ShapeOf(params, 1, 1, 180);
    EXPECT_NEAR(up.halfTones, 6.0, 1e-9);
    EXPECT_EQ(up.naturalSpeedMs, 180);
    EXPECT_EQ(up.speedMs, 255); // the samples' still lengthened
    params.pitch = -100;
    EXPECT_NEAR(ShapeOf(params, 1, 0.1, 180).halfTones, -12.0, 1e-9);
    params.pitch = 0;
    params.rate = 100;
    EXPECT_EQ(ShapeOf(params, 1, 1, 180).naturalSpeedMs, 45);

    natural::NaturalPassOptions pass;
    pass.synthesis.setup.controls.halfTones = 2; // the settings' 高さ
    EngineWish wish;
    wish.halfTones = up.halfTones;
    wish.naturalSpeedMs = 90;
    ApplyWish(wish, pass);
    EXPECT_NEAR(pass.synthesis.setup.controls.halfTones, 8.0, 1e-9);
    EXPECT_EQ(pass.synthesis.setup.rate, natural::RateForSpeed(90));
}

} // namespace
} // namespace yomi6::module
