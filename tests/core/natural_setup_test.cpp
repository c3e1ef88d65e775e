// The natural voice's setup: the voice file looked up, the speed as the engine's rate, the
// lowered variant's options, and what is said when a piece is missing, with where it was
// looked for.
#include "cli/cli_options.h"
#include "natural/engine_setup.h"
#include "natural/temp_folder.h"
#include "natural/voice_choice.h"
#include "natural/voice_setup.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace yomi6::natural {
namespace {

TEST(NaturalSetup, VoiceFileIsLookedUpInOrder) {
    const TempFolder a, b;
    std::ofstream(b.File("tohoku-f01-sad.htsvoice")) << "x";
    EXPECT_EQ(FindVoiceFile(Style::Sad, "", {a.Path(), b.Path()}),
              b.File("tohoku-f01-sad.htsvoice"));
    std::ofstream(a.File("tohoku-f01-sad.htsvoice")) << "x";
    EXPECT_EQ(FindVoiceFile(Style::Sad, "", {a.Path(), b.Path()}),
              a.File("tohoku-f01-sad.htsvoice"));
    EXPECT_EQ(FindVoiceFile(Style::Angry, "", {a.Path(), b.Path()}), "");
    // A named folder is taken as it is, even without the file: its absence is then reported.
    EXPECT_EQ(FindVoiceFile(Style::Happy, "/nowhere", {a.Path()}),
              "/nowhere/tohoku-f01-happy.htsvoice");
    EXPECT_EQ(DefaultVoiceFolders("/usr/bin/yomi6"),
              (std::vector<std::string>{"/usr/share/yomi6/voices/tohoku-f01"}));
    // A program in a build folder (the folder above its own holds CMakeCache.txt) looks in the
    // source tree above that build folder too.
    const test::TempDir tree;
    ::mkdir(tree.File("build").c_str(), 0700);
    test::WriteFile(tree.File("build/CMakeCache.txt"), "x");
    EXPECT_EQ(DefaultVoiceFolders(tree.File("build/src/yomi6")),
              (std::vector<std::string>{tree.File("build/share/yomi6/voices/tohoku-f01"),
                                        tree.File("voices/tohoku-f01")}));
}

// One rule for every caller: the named folder, else the search folders in order; what is
// missing names the packages, or the voice file by its style's name and where it was sought.
TEST(NaturalSetup, SetUpVoiceSaysWhatIsMissingAndWhere) {
    const TempFolder a, b;
    Installation places;
    places.searchFolders = {a.Path(), b.Path()};
    const VoiceChoice sadLowered{Variant::Lowered, Style::Sad};
    VoiceSetup setup = SetUpVoice(places, sadLowered, 280);
    ASSERT_NE(setup.missing, MissingPiece::Engine) << "the engine is not installed";
    EXPECT_EQ(setup.missing, MissingPiece::VoiceFile);
    EXPECT_FALSE(setup.CanSpeak());
    EXPECT_EQ(setup.voiceFile, "tohoku-f01-sad.htsvoice");
    std::string text = MissingText(setup);
    EXPECT_NE(text.find("tohoku-f01-sad.htsvoice is in none of " + a.Path() + ", " + b.Path()),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("STYLE"), std::string::npos) << text;

    // A file that is there but no voice is named with its problem, not as missing.
    std::ofstream(b.File("tohoku-f01-sad.htsvoice")) << "x";
    setup = SetUpVoice(places, sadLowered, 280);
    EXPECT_EQ(setup.missing, MissingPiece::VoiceFile);
    EXPECT_NE(MissingText(setup).find(b.File("tohoku-f01-sad.htsvoice") + " cannot be used"),
              std::string::npos)
        << MissingText(setup);
    std::filesystem::copy_file(FindVoiceFile(Style::Sad, YOMI6_NATURAL_TEST_VOICES, {}),
                               b.File("tohoku-f01-sad.htsvoice"),
                               std::filesystem::copy_options::overwrite_existing);
    setup = SetUpVoice(places, sadLowered, 280);
    ASSERT_TRUE(setup.CanSpeak()) << MissingText(setup);
    EXPECT_EQ(setup.engine.voiceFile, b.File("tohoku-f01-sad.htsvoice"));
    EXPECT_EQ(setup.engine.variant, Variant::Lowered);
    EXPECT_DOUBLE_EQ(setup.engine.rate, 0.5);
    EXPECT_EQ(MissingText(setup), "");

    // A named folder is the only place looked in.
    places.voiceFolder = a.Path();
    setup = SetUpVoice(places, sadLowered, 280);
    EXPECT_EQ(setup.missing, MissingPiece::VoiceFile);
    EXPECT_EQ(setup.searched, std::vector<std::string>{a.Path()});
    EXPECT_NE(MissingText(setup).find(a.File("tohoku-f01-sad.htsvoice")), std::string::npos);

    places.engine = "/nonexistent/open_jtalk";
    setup = SetUpVoice(places, sadLowered, 280);
    EXPECT_EQ(setup.missing, MissingPiece::Engine);
    text = MissingText(setup);
    EXPECT_NE(text.find("/nonexistent/open_jtalk"), std::string::npos) << text;
    EXPECT_NE(text.find("apt-get install open-jtalk open-jtalk-mecab-naist-jdic"),
              std::string::npos);
    // Without $YOMI6_NATURAL_VOICE_DIR nothing is named.
    EXPECT_EQ(InstallationOf("/usr/bin/yomi6", nullptr).voiceFolder, "");
    EXPECT_EQ(InstallationOf("/usr/bin/yomi6", "/v").voiceFolder, "/v");
}

TEST(NaturalSetup, StylesByName) {
    for (const Style s : {Style::Neutral, Style::Happy, Style::Sad, Style::Angry}) {
        EXPECT_EQ(ParseStyle(StyleName(s)), s);
    }
    EXPECT_FALSE(ParseStyle("Neutral"));
    EXPECT_FALSE(ParseStyle(""));
}

TEST(NaturalSetup, SpeedBecomesTheEngineRateWithinItsRange) {
    EXPECT_DOUBLE_EQ(RateForSpeed(140), 1.0);
    EXPECT_DOUBLE_EQ(RateForSpeed(280), 0.5);
    EXPECT_DOUBLE_EQ(RateForSpeed(70), 2.0);
    EXPECT_DOUBLE_EQ(RateForSpeed(1000), kMinRate); // slower than the engine says clearly
    EXPECT_DOUBLE_EQ(RateForSpeed(10), kMaxRate);
    EXPECT_DOUBLE_EQ(RateForSpeed(0), kMaxRate);
}

TEST(NaturalSetup, ArgumentsOfTheLoweredVariant) {
    EngineSetup setup;
    setup.voiceFile = "/v/f.htsvoice";
    setup.rate = 0.75;
    const auto plain = EngineArguments(setup, "in.txt", "o.wav", "o.trace");
    EXPECT_EQ(plain, (std::vector<std::string>{"/usr/bin/open_jtalk", "-x",
                                               "/var/lib/mecab/dic/open-jtalk/naist-jdic", "-m",
                                               "/v/f.htsvoice", "-ow", "o.wav", "-ot", "o.trace",
                                               "-r", "0.750", "in.txt"}));
    setup.variant = Variant::Lowered;
    const auto lowered = EngineArguments(setup, "in.txt", "o.wav", "o.trace");
    EXPECT_NE(std::find(lowered.begin(), lowered.end(), "-fm"), lowered.end());
    EXPECT_EQ(*(std::find(lowered.begin(), lowered.end(), "-fm") + 1), "-6.000");
    EXPECT_EQ(*(std::find(lowered.begin(), lowered.end(), "-a") + 1), "0.620");
    EXPECT_EQ(lowered.back(), "in.txt");
}

TEST(NaturalSetup, MissingPiecesNameThePackagesOrTheFile) {
    EngineSetup setup;
    setup.engine = "/nonexistent/open_jtalk";
    EXPECT_NE(MissingPieces(setup).find("apt-get install open-jtalk open-jtalk-mecab-naist-jdic"),
              std::string::npos);
    setup = EngineSetup{};
    setup.voiceFile = "/nonexistent/v.htsvoice";
    EXPECT_NE(MissingPieces(setup).find("/nonexistent/v.htsvoice"), std::string::npos);
    setup.voiceFile = "";
    EXPECT_EQ(MissingPieces(setup), "the natural voice has no voice file");
    // A file that is no voice, or a voice cut short, makes every run of the engine fail: it is
    // missing as much as an absent one.
    const TempFolder folder;
    setup.voiceFile = folder.File("v.htsvoice");
    std::ofstream(setup.voiceFile) << "x";
    EXPECT_NE(
        MissingPieces(setup).find(setup.voiceFile + " cannot be used: it is not a voice file"),
        std::string::npos)
        << MissingPieces(setup);
    const std::string whole = FindVoiceFile(Style::Neutral, YOMI6_NATURAL_TEST_VOICES, {});
    setup.voiceFile = whole;
    EXPECT_EQ(MissingPieces(setup), "");
    std::ifstream in(whole, std::ios::binary);
    std::string voice((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    setup.voiceFile = folder.File("cut.htsvoice");
    std::ofstream(setup.voiceFile, std::ios::binary) << voice.substr(0, voice.size() - 1);
    EXPECT_NE(MissingPieces(setup).find("it is cut short"), std::string::npos)
        << MissingPieces(setup);
}

TEST(NaturalSetup, CommandLineOptions) {
    using cli::ParseCommandLine;
    const auto ok =
        ParseCommandLine({"--engine", "natural", "--style", "sad", "--wav", "o.wav", "f"});
    EXPECT_EQ(ok.error, "");
    EXPECT_EQ(ok.options.engine, cli::SpeechEngine::Natural);
    EXPECT_EQ(ok.options.style, "sad");
    EXPECT_FALSE(ParseCommandLine({"--units", "f"}).options.engine.has_value());
    const std::pair<std::vector<std::string>, std::string> errors[] = {
        {{"--engine", "x", "--units", "f"}, "--engine takes samples or natural, not 'x'"},
        {{"--units", "f", "--style", "calm", "--engine", "natural"},
         "--style takes neutral, happy, sad or angry, not 'calm'"},
        {{"--units", "f", "--style", "sad"}, "--style goes with --engine natural"},
        {{"--engine", "natural", "--schedule", "f"},
         "--engine natural goes with --speak, --wav, --export or --units"},
        {{"--units", "f", "--engine"}, "--engine needs samples or natural"},
    };
    for (const auto& [args, error] : errors) {
        EXPECT_EQ(ParseCommandLine(args).error, error) << args[0];
    }
}

TEST(NaturalSetup, VoiceChoiceAsTheSlotStoresIt) {
    for (const Variant v : {Variant::AsRecorded, Variant::Lowered}) {
        for (const Style s : {Style::Neutral, Style::Happy, Style::Sad, Style::Angry}) {
            const VoiceChoice choice{v, s};
            EXPECT_EQ(ParseVoiceChoice(VoiceChoiceValue(choice)), choice);
        }
    }
    EXPECT_EQ(VoiceChoiceValue({Variant::Lowered, Style::Sad}), "natural-lowered:sad");
    EXPECT_EQ(ParseVoiceChoice("natural:happy"), (VoiceChoice{Variant::AsRecorded, Style::Happy}));
    // Built-in names, folder paths and near misses are not natural voices.
    for (const char* other : {"", "natural:", "natural:loud", "Natural:neutral", "natural",
                              "/usr/share/yomi6/voices/natural:neutral", " natural:sad"}) {
        EXPECT_FALSE(ParseVoiceChoice(other)) << other;
    }
}

} // namespace
} // namespace yomi6::natural
