// Who says the lines in 「」 and 『』: the command line's --dialogue-voice, the settings file's
// choice, and the engine request each choice makes of the narrator's.
#include "cli/cli_options.h"
#include "engine/engine_choice.h"
#include "io/profile_file.h"
#include "settings/dialogue_voice.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace yomi6 {
namespace {

TEST(DialogueChoice, TheCommandLineNamesItWithTheModesThatSpeak) {
    const auto parsed =
        cli::ParseCommandLine({"--export", "o.flac", "--dialogue-voice", "other", "a.txt"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.dialogueVoice, DialogueVoice::OtherSlot);
    EXPECT_FALSE(cli::ParseCommandLine({"--export", "o.flac", "a.txt"}).options.dialogueVoice);
    for (const auto& [name, voice] :
         std::vector<std::pair<std::string, DialogueVoice>>{{"off", DialogueVoice::Off},
                                                            {"happy", DialogueVoice::Happy},
                                                            {"sad", DialogueVoice::Sad},
                                                            {"angry", DialogueVoice::Angry}}) {
        EXPECT_EQ(cli::ParseCommandLine({"--dialogue-voice", name, "--export", "o.wav", "a"})
                      .options.dialogueVoice,
                  voice)
            << name;
    }
    EXPECT_EQ(cli::ParseCommandLine({"--export", "o.wav", "--dialogue-voice", "Other", "a"}).error,
              "--dialogue-voice takes off, other, happy, sad or angry, not 'Other'");
    EXPECT_EQ(cli::ParseCommandLine({"--export", "o.wav", "a", "--dialogue-voice"}).error,
              "--dialogue-voice needs off, other, happy, sad or angry");
    EXPECT_EQ(cli::ParseCommandLine({"--wav", "o.wav", "--dialogue-voice", "sad", "a"})
                  .options.dialogueVoice,
              DialogueVoice::Sad);
    EXPECT_EQ(cli::ParseCommandLine({"--speak", "--dialogue-voice", "other", "a"}).error, "");
    EXPECT_EQ(cli::ParseCommandLine({"--units", "--dialogue-voice", "sad", "a"}).error,
              "--dialogue-voice goes with --export, --wav and --speak");
    EXPECT_NE(cli::UsageText().find("--dialogue-voice off|other|happy|sad|angry"),
              std::string::npos);
}

TEST(DialogueChoice, TheSettingsFileKeepsItAndAnythingElseReadsAsOff) {
    test::TempDir dir;
    const std::string path = dir.File("yomi6.ini");
    for (const auto& [stored, voice] : std::vector<std::pair<std::string, DialogueVoice>>{
             {"", DialogueVoice::Off},
             {"[Voices]\r\nDialogueVoice=4\r\n", DialogueVoice::Angry},
             {"[Voices]\r\nDialogueVoice=5\r\n", DialogueVoice::Off},
             {"[Voices]\r\nDialogueVoice=-1\r\n", DialogueVoice::Off},
             {"[Voices]\r\nDialogueVoice=x\r\n", DialogueVoice::Off}}) {
        test::WriteFile(path, stored);
        EXPECT_EQ(LoadDialogueVoice(ProfileFile::Open(path)), voice) << stored;
    }
    ProfileFile profile = ProfileFile::Open(path);
    ASSERT_TRUE(SaveDialogueVoice(profile, DialogueVoice::Sad));
    ASSERT_TRUE(profile.Save());
    EXPECT_EQ(LoadDialogueVoice(ProfileFile::Open(path)), DialogueVoice::Sad);
}

TEST(DialogueChoice, EachChoiceMakesItsRequestOfTheNarrators) {
    EngineRequest narrator;
    narrator.maleSlot = false;
    narrator.slotValue = "natural:sad";
    narrator.style = natural::Style::Sad;
    narrator.speed = 120;
    narrator.controls.halfTones = 3;
    EXPECT_FALSE(DialogueRequestOf(narrator, DialogueVoice::Off, "male"));

    // The other slot, in its own voice and style, the rest of the request kept.
    const auto other =
        DialogueRequestOf(narrator, DialogueVoice::OtherSlot, "natural-lowered:happy");
    ASSERT_TRUE(other);
    EXPECT_TRUE(other->maleSlot);
    EXPECT_EQ(other->slotValue, "natural-lowered:happy");
    EXPECT_FALSE(other->style);
    EXPECT_EQ(other->speed, 120);
    EXPECT_EQ(other->controls.halfTones, 3.0);
    const auto choice = NaturalVoiceOf(*other);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->style, natural::Style::Happy);
    EXPECT_EQ(choice->variant, natural::Variant::Lowered);
    // A sample voice in the other slot: the samples say the lines.
    EXPECT_FALSE(NaturalVoiceOf(*DialogueRequestOf(narrator, DialogueVoice::OtherSlot, "male")));

    // A style: the natural voice of the narrator's slot, even when it says the rest in samples.
    EngineRequest samples;
    samples.maleSlot = true;
    samples.slotValue = "male";
    const auto angry = DialogueRequestOf(samples, DialogueVoice::Angry, "female");
    ASSERT_TRUE(angry);
    EXPECT_TRUE(angry->maleSlot);
    const auto angryVoice = NaturalVoiceOf(*angry);
    ASSERT_TRUE(angryVoice);
    EXPECT_EQ(angryVoice->style, natural::Style::Angry);
    EXPECT_EQ(angryVoice->variant, natural::Variant::Lowered);
}

} // namespace
} // namespace yomi6
