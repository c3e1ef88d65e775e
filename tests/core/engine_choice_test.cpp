// The one choice and set-up of the engine: what a slot's value, the voice and the options pick,
// the pass it sets up, and the command line's choice from the settings file, with the voice
// found in the checkout's voices/ for a program run from its build folder.
#include "cli/natural_modes.h"
#include "cli/speech_options.h"
#include "engine/engine_choice.h"
#include "export/engine_factory.h"
#include "natural/temp_folder.h"
#include "support/scoped_env.h"

#include <gtest/gtest.h>

#include <fstream>

namespace yomi6 {
namespace {

using natural::Style;
using natural::Variant;
using natural::VoiceChoice;

TEST(EngineChoice, TheSlotOrTheRequestPicksTheVoice) {
    struct Case {
        const char* slot;
        bool male;
        bool asked;
        std::optional<Style> style;
        std::optional<VoiceChoice> natural;
    };
    const Case cases[] = {
        {"", false, false, std::nullopt, std::nullopt},
        {"/home/u/voices/mine", true, false, std::nullopt, std::nullopt},
        {"natural-lowered:sad", false, false, std::nullopt,
         VoiceChoice{Variant::Lowered, Style::Sad}},
        {"natural:happy", true, false, Style::Angry,
         VoiceChoice{Variant::AsRecorded, Style::Angry}},
        // Asked for where the slot has samples: the male slot's is the lowered voice.
        {"/home/u/voices/mine", true, true, std::nullopt,
         VoiceChoice{Variant::Lowered, Style::Neutral}},
        {"", false, true, Style::Sad, VoiceChoice{Variant::AsRecorded, Style::Sad}},
    };
    for (const Case& c : cases) {
        EngineRequest request;
        request.slotValue = c.slot;
        request.maleSlot = c.male;
        request.naturalAsked = c.asked;
        request.style = c.style;
        EXPECT_EQ(NaturalVoiceOf(request), c.natural) << c.slot << " " << c.asked;
    }
}

TEST(EngineChoice, ANaturalVoiceThatCanSpeakIsSetUpForThePlayer) {
    const std::string folder = std::string(YOMI6_SOURCE_DIR) + "/voices/tohoku-f01";
    natural::Installation installation;
    installation.voiceFolder = folder;
    EngineRequest request;
    request.slotValue = "natural-lowered:sad";
    request.speed = 70;
    request.analyzerFolder = "/analyzer";
    for (const unsigned workers : {0u, 3u, 1000u}) {
        request.workers = workers;
        const ChosenEngine chosen = ChooseEngine(installation, request);
        ASSERT_TRUE(chosen.SpeaksNaturally()) << natural::MissingText(chosen.setup);
        const natural::NaturalPassOptions& pass = chosen.pass;
        EXPECT_EQ(pass.synthesis.setup.voiceFile, folder + "/tohoku-f01-sad.htsvoice");
        EXPECT_EQ(pass.synthesis.setup.variant, Variant::Lowered);
        EXPECT_EQ(pass.synthesis.setup.rate, natural::RateForSpeed(70));
        EXPECT_EQ(pass.synthesis.outputRate, kNaturalVoiceRate); // the voice's own rate
        EXPECT_EQ(pass.synthesis.analyzerFolder, "/analyzer");
        EXPECT_EQ(pass.workers, std::clamp(workers, 1u, natural::kMaxWorkers));
        EXPECT_EQ(pass.ahead, 2 * pass.workers);
    }
    // A voice whose file is missing is chosen but cannot speak: the samples speak.
    const natural::TempFolder empty;
    installation.voiceFolder = empty.Path();
    const ChosenEngine missing = ChooseEngine(installation, request);
    ASSERT_TRUE(missing.natural.has_value());
    EXPECT_FALSE(missing.SpeaksNaturally());
    EXPECT_EQ(missing.setup.missing, natural::MissingPiece::VoiceFile);
}

TEST(EngineChoice, TheVoiceSpeaksWithoutTheEngineProgramButNotWithoutItsDictionary) {
    natural::Installation installation;
    installation.voiceFolder = std::string(YOMI6_SOURCE_DIR) + "/voices/tohoku-f01";
    installation.engine = "/nonexistent/open_jtalk";
    EngineRequest request;
    request.naturalAsked = true;
    const ChosenEngine chosen = ChooseEngine(installation, request);
    EXPECT_TRUE(chosen.SpeaksNaturally()) << natural::MissingText(chosen.setup);
    // Without the dictionary with accents the samples speak, and the one message names the
    // package that holds it, not the program.
    installation.dictionary = "/nonexistent/naist-jdic";
    const ChosenEngine missing = ChooseEngine(installation, request);
    ASSERT_TRUE(missing.natural.has_value());
    EXPECT_FALSE(missing.SpeaksNaturally());
    const std::string text = natural::MissingText(missing.setup);
    EXPECT_EQ(text, "the natural voice needs its dictionary /nonexistent/naist-jdic: apt-get "
                    "install open-jtalk-mecab-naist-jdic");
}

TEST(EngineChoice, TheCommandLineChoosesFromTheSettingsFileAndFindsTheCheckoutsVoices) {
    const natural::TempFolder config;
    const test::ScopedEnv xdg("XDG_CONFIG_HOME", config.Path());
    const test::ScopedEnv named("YOMI6_NATURAL_VOICE_DIR", nullptr);
    std::ofstream(config.Path() + "/yomi6.ini")
        << "[Voices]\nMaleSlot=natural-lowered:angry\nFemaleSlot=/home/u/voices/mine\n";
    cli::Options options;
    options.voice = 1;
    options.speed = 120;
    const EngineRequest request = cli::EngineRequestOf(options, 2);
    EXPECT_EQ(request.slotValue, "natural-lowered:angry");
    EXPECT_TRUE(request.maleSlot);
    EXPECT_EQ(request.speed, 120);
    const std::optional<natural::NaturalPassOptions> pass = cli::NaturalPassFor(options, 2);
    ASSERT_TRUE(pass.has_value());
    // This program runs from the build folder: the voice is the checkout's.
    EXPECT_EQ(pass->synthesis.setup.voiceFile,
              std::string(YOMI6_SOURCE_DIR) + "/voices/tohoku-f01/tohoku-f01-angry.htsvoice");
    EXPECT_EQ(pass->synthesis.setup.variant, Variant::Lowered);
    EXPECT_EQ(pass->synthesis.setup.rate, natural::RateForSpeed(120));
    EXPECT_EQ(pass->workers, 2u);

    // The female slot has samples; --engine natural asks for the voice as recorded, --engine
    // samples never speaks naturally.
    options.voice = 0;
    EXPECT_FALSE(cli::NaturalVoiceOption(options).has_value());
    options.engine = cli::SpeechEngine::Natural;
    EXPECT_EQ(cli::NaturalVoiceOption(options), (VoiceChoice{Variant::AsRecorded, Style::Neutral}));
    options.engine = cli::SpeechEngine::Samples;
    options.voice = 1;
    EXPECT_FALSE(cli::NaturalVoiceOption(options).has_value());
    EXPECT_FALSE(cli::NaturalPassFor(options, 1).has_value());
}

// The controls of the settings file, each replaced by its command-line option, reach the
// synthesis options of the voice said in our own process.
TEST(EngineChoice, TheControlsGoFromTheSettingsAndTheCommandLineToTheSynthesis) {
    const natural::TempFolder config;
    const test::ScopedEnv xdg("XDG_CONFIG_HOME", config.Path());
    const test::ScopedEnv named("YOMI6_NATURAL_VOICE_DIR", nullptr);
    std::ofstream(config.Path() + "/yomi6.ini")
        << "[Voices]\nFemaleSlot=natural:happy\nNaturalPitch=-3\nNaturalIntonation=15\n"
           "NaturalStyleWeight=60\n";
    cli::Options options;
    options.voice = 0;
    const auto synthesisOf = [&] {
        const std::optional<natural::NaturalPassOptions> pass = cli::NaturalPassFor(options, 1);
        EXPECT_TRUE(pass.has_value());
        return pass ? VoicePassOptionsOf(*pass).synthesis : synthesis::SynthesisOptions{};
    };
    synthesis::SynthesisOptions said = synthesisOf();
    EXPECT_EQ(said.halfTones, -3.0);
    EXPECT_DOUBLE_EQ(said.intonation, 1.5);
    EXPECT_EQ(said.style.style, Style::Happy);
    EXPECT_DOUBLE_EQ(said.style.weight, 0.6);

    options.engine = cli::SpeechEngine::Natural;
    options.pitch = 7;
    options.intonation = 0.0;
    said = synthesisOf();
    EXPECT_EQ(said.halfTones, 7.0);
    EXPECT_EQ(said.intonation, 0.0);
    EXPECT_DOUBLE_EQ(said.style.weight, 0.6); // the settings' still
    options.styleWeight = 0;
    EXPECT_EQ(synthesisOf().style.weight, 0.0);

    // Without the keys, the voice as it was.
    std::ofstream(config.Path() + "/yomi6.ini") << "[Voices]\nFemaleSlot=natural:sad\n";
    options = {};
    options.voice = 0;
    said = synthesisOf();
    EXPECT_EQ(said.halfTones, 0.0);
    EXPECT_EQ(said.intonation, 1.0);
    EXPECT_EQ(said.style.weight, 1.0);
}

} // namespace
} // namespace yomi6
