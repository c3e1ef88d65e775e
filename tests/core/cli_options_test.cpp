// Command-line parsing: modes, options and usage errors.
#include "cli/cli_options.h"
#include "cli/export_names.h"

#include <gtest/gtest.h>

namespace yomi6::cli {
namespace {

ParseResult Parse(const std::vector<std::string>& args) {
    return ParseCommandLine(args);
}

TEST(CliOptionsTest, ModesAndOptions) {
    auto r = Parse({"--reading", "a.txt", "--dictionary", "d.dic"});
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.options.mode, Mode::Reading);
    EXPECT_EQ(r.options.input, "a.txt");
    EXPECT_EQ(r.options.dictionary, "d.dic");

    r = Parse({"--voice", "male", "--speed", "0", "--wav", "o.wav", "-"});
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.options.mode, Mode::Wav);
    EXPECT_EQ(r.options.wavOutput, "o.wav");
    EXPECT_EQ(r.options.input, "-");
    EXPECT_EQ(r.options.voice, 1);
    EXPECT_EQ(r.options.speed, 0);

    r = Parse({"file.txt"});
    EXPECT_EQ(r.options.mode, Mode::Editor);
    EXPECT_EQ(r.options.editorFiles, std::vector<std::string>{"file.txt"});
    EXPECT_EQ(Parse({"--reading", "x", "--help"}).options.mode, Mode::Help);
    EXPECT_EQ(Parse({"--version"}).options.mode, Mode::Version);

    // Fitting the samples: unset by default (the settings decide); the last of the two wins.
    EXPECT_FALSE(Parse({"--wav", "o.wav", "a"}).options.fitSamples.has_value());
    EXPECT_EQ(Parse({"--fit-samples", "--speak", "a"}).options.fitSamples, true);
    EXPECT_EQ(Parse({"--fit-samples", "--no-fit-samples", "--wav", "o", "a"}).options.fitSamples,
              false);
    EXPECT_NE(UsageText().find("--fit-samples"), std::string::npos);

    // The input's encoding: auto unless named, for every mode that reads a FILE.
    EXPECT_FALSE(Parse({"--reading", "a"}).options.encoding.has_value());
    EXPECT_EQ(Parse({"--encoding", "sjis", "--units", "a"}).options.encoding,
              InputEncoding::ShiftJis);
    EXPECT_EQ(Parse({"--export", "o.wav", "a", "--encoding", "utf8"}).options.encoding,
              InputEncoding::Utf8);
    EXPECT_EQ(Parse({"--pdf", "o.pdf", "a", "--encoding", "auto"}).error, "");
    EXPECT_NE(UsageText().find("--encoding sjis|utf8|auto"), std::string::npos);
}

TEST(CliOptionsTest, LabelsAndTheirAccentRules) {
    auto r = Parse({"--labels", "a.txt", "--accent-rules", "none", "--encoding", "utf8"});
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.options.mode, Mode::Labels);
    EXPECT_EQ(r.options.input, "a.txt");
    EXPECT_EQ(r.options.accentRules, "none");
    EXPECT_EQ(Parse({"--labels", "-"}).options.accentRules, ""); // all, the mode decides
    EXPECT_NE(Parse({"--accent-rules", "all", "--reading", "a"}).error, "");
    EXPECT_NE(Parse({"--labels", "a", "--accent-rules", ""}).error, "");
    EXPECT_NE(Parse({"--labels", "a", "--reading", "b"}).error.find("--labels"), std::string::npos);
    EXPECT_NE(UsageText().find("--labels FILE"), std::string::npos);
}

TEST(CliOptionsTest, UsageErrors) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--reading"},
             {"--wav", "out.wav"},
             {"--wav", "", "a"},
             {"--reading", "a", "--schedule", "b"},
             {"--reading", "a", "extra"},
             {"--speed", "1001", "--reading", "a"},
             {"--speed", "-1", "--reading", "a"},
             {"--speed", "12x", "--reading", "a"},
             {"--voice", "child", "--reading", "a"},
             {"--dictionary", "", "--reading", "a"},
             {"--bogus"},
             {"--encoding", "latin1", "--reading", "a"},
             {"--encoding"},
             {"--encoding", "utf8", "a.txt"},
             {"--encoding", "utf8", "--check-voice", "dir"},
             {"--export", "-", "a"},
         }) {
        EXPECT_NE(Parse(args).error, "") << args.front();
    }
    // The two modes that write one file name the piece that is missing.
    EXPECT_EQ(Parse({"--wav"}).error, "--wav needs OUT.wav and FILE");
    EXPECT_EQ(Parse({"--pdf", "o.pdf"}).error, "--pdf needs a FILE");
    EXPECT_EQ(Parse({"--pdf", "", "a"}).error, "--pdf needs a non-empty OUT.pdf");
    EXPECT_EQ(Parse({"--wav", "o.wav", "a"}).options.pdfOutput, "");
    EXPECT_EQ(Parse({"--pdf", "o.pdf", "a"}).options.pdfOutput, "o.pdf");
}

// The names of --export's files are checked by the program that runs it, apart from the parser.
TEST(CliOptionsTest, TheNaturalVoicesControls) {
    const auto parsed = Parse({"--engine", "natural", "--pitch", "-12", "--intonation", "0.5",
                               "--style-weight", "30", "--wav", "o.wav", "a"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.pitch, -12);
    EXPECT_EQ(parsed.options.intonation, 0.5);
    EXPECT_EQ(parsed.options.styleWeight, 30);
    const auto plain = Parse({"--engine", "natural", "--wav", "o.wav", "a"}).options;
    EXPECT_FALSE(plain.pitch || plain.intonation || plain.styleWeight);

    for (const auto& [args, error] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--pitch", "13"}, "--pitch takes a whole number from -12 to 12, not '13'"},
             {{"--pitch", "1.5"}, "--pitch takes a whole number from -12 to 12, not '1.5'"},
             {{"--pitch"}, "--pitch needs a whole number from -12 to 12"},
             {{"--intonation", "2.1"}, "--intonation takes a number from 0 to 2, not '2.1'"},
             {{"--intonation", "nan"}, "--intonation takes a number from 0 to 2, not 'nan'"},
             {{"--intonation", "1,5"}, "--intonation takes a number from 0 to 2, not '1,5'"},
             {{"--style-weight", "-1"},
              "--style-weight takes a whole number from 0 to 100, not '-1'"},
             {{"--style-weight", ""}, "--style-weight takes a whole number from 0 to 100, not ''"},
         }) {
        std::vector<std::string> full = {"--engine", "natural", "--wav", "o.wav", "a"};
        full.insert(full.end(), args.begin(), args.end());
        EXPECT_EQ(Parse(full).error, error);
    }
    // Like --style, they go with --engine natural.
    EXPECT_EQ(Parse({"--pitch", "3", "--wav", "o.wav", "a"}).error,
              "--pitch goes with --engine natural");
    EXPECT_EQ(Parse({"--engine", "samples", "--style-weight", "3", "--wav", "o.wav", "a"}).error,
              "--style-weight goes with --engine natural");
    EXPECT_NE(UsageText().find("--intonation X"), std::string::npos);
}

TEST(CliOptionsTest, ExportNamesCheckedApart) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--export", "o.wav", "--timings", "o.txt", "a"},
             {"--export", "o.wav", "--timings", "o.json.wav", "a"},
             {"--export", "o.aiff", "a"},
             {"--export", "o.flac", "--subtitles", "o.txt", "a"},
         }) {
        const ParseResult r = Parse(args);
        ASSERT_EQ(r.error, "") << ::testing::PrintToString(args);
        EXPECT_NE(CheckExportNames(r.options), "") << ::testing::PrintToString(args);
    }
    EXPECT_EQ(CheckExportNames(
                  Parse({"--export", "o.FLAC", "--subtitles", "o.vtt", "--timings", "o.json", "a"})
                      .options),
              "");
    EXPECT_EQ(CheckExportNames(Parse({"--wav", "o.txt", "a"}).options), "");
}

// As in GNU tools: options before and after the FILE, and "--" before a FILE that starts with a
// hyphen.
TEST(CliOptionsTest, OptionsGoAnywhereAndDoubleHyphenEndsThem) {
    auto r = Parse({"--speak", "--engine", "natural", "ch.txt"});
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.options.mode, Mode::Speak);
    EXPECT_EQ(r.options.input, "ch.txt");
    EXPECT_EQ(r.options.engine, SpeechEngine::Natural);
    r = Parse({"ch.txt", "--voice", "male", "--reading"});
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.options.mode, Mode::Reading);
    EXPECT_EQ(r.options.input, "ch.txt");
    EXPECT_EQ(r.options.voice, 1);
    r = Parse({"--wav", "o.wav", "--speed", "90", "a.txt", "--fit-samples"});
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.options.wavOutput, "o.wav");
    EXPECT_EQ(r.options.input, "a.txt");
    EXPECT_EQ(r.options.fitSamples, true);

    r = Parse({"--units", "--", "-x.txt"});
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.options.input, "-x.txt");
    r = Parse({"--export", "o.wav", "--timings", "o.json", "--", "--to"});
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.options.input, "--to");
    EXPECT_FALSE(r.options.to.has_value());
    r = Parse({"--", "-x.txt", "--help", "-"});
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.options.mode, Mode::Editor);
    EXPECT_EQ(r.options.editorFiles, (std::vector<std::string>{"-x.txt", "--help", "-"}));

    EXPECT_EQ(Parse({"--reading", "-x.txt"}).error, "unknown option '-x.txt'");
    EXPECT_EQ(Parse({"--speak", "--voice", "male"}).error, "--speak needs a FILE");
    EXPECT_EQ(Parse({"--labels"}).error, "--labels needs a FILE");
    EXPECT_EQ(Parse({"a", "--units", "b"}).error, "unexpected argument 'b'");
    EXPECT_EQ(Parse({"--check-voice", "dir", "a"}).error, "unexpected argument 'a'");
}

} // namespace
} // namespace yomi6::cli
