// Where the engine, its dictionary and the voice are, and how a speed, a style and a variant
// become the engine's options.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace yomi6::natural {

inline constexpr std::string_view kEnginePath = "/usr/bin/open_jtalk";
inline constexpr std::string_view kEngineDictionary = "/var/lib/mecab/dic/open-jtalk/naist-jdic";
inline constexpr std::string_view kEnginePackages = "open-jtalk open-jtalk-mecab-naist-jdic";
// What the voice said in our own process needs of them: the dictionary with accents.
inline constexpr std::string_view kDictionaryPackage = "open-jtalk-mecab-naist-jdic";
inline constexpr std::string_view kVoiceName = "tohoku-f01";

enum class Style { Neutral, Happy, Sad, Angry };

// The voice as recorded, or lowered for the male slot: no male voice is to be had, so the
// female voice is shifted down in pitch and its spectrum warped (a larger all-pass constant),
// which sounds lower but is the same speaker.
enum class Variant { AsRecorded, Lowered };

inline constexpr double kLoweredHalfTones = -6.0;
inline constexpr double kLoweredAllPass = 0.62;

std::string_view StyleName(Style style);
std::optional<Style> ParseStyle(std::string_view name);

// The name of a style's voice file: tohoku-f01-STYLE.htsvoice.
std::string VoiceFileName(Style style);

// The voice file of a style: in explicitFolder when one is given; else the first of
// searchFolders that holds it (each a folder such as <prefix>/share/yomi6/voices/tohoku-f01).
// "" when none holds it.
std::string FindVoiceFile(Style style, const std::string& explicitFolder,
                          const std::vector<std::string>& searchFolders);

// The voice folders looked in when none is named: <prefix>/share/yomi6/voices/tohoku-f01 for
// the prefix the running program is installed under (the folder above its bin/), then, for a
// program run from its build folder (build/src/yomi6, build/tests/..., the folder above it
// holding CMakeCache.txt), the source tree's voices/tohoku-f01 above that build folder.
std::vector<std::string> DefaultVoiceFolders(const std::string& executablePath);

// The engine's speaking rate (-r) for the speed setting (milliseconds per unit of the sample
// voices): the voice's average mora at rate 1 lasts kMoraMsAtRate1, so the rate is that over
// the speed, kept within what the engine says clearly (kMinRate to kMaxRate). A speed of 0 is
// the fastest rate.
inline constexpr double kMoraMsAtRate1 = 140.0;
inline constexpr double kMinRate = 0.5;
inline constexpr double kMaxRate = 2.5;
double RateForSpeed(int speedMs);

// How the voice is said beyond its speed, as the user sets it for the natural voice (the voice
// said in our own process heeds them): its pitch in half-tones (added to the variant's own),
// its intonation (0 monotone, 1 as the voice makes it, up to 2) and how strongly its style is
// said over neutral (0 neutral alone, 1 the style alone).
struct VoiceControls {
    double halfTones = 0.0;
    double intonation = 1.0;
    double styleWeight = 1.0;
    friend bool operator==(const VoiceControls&, const VoiceControls&) = default;
};

struct EngineSetup {
    std::string engine{kEnginePath}; // "": no program, the voice is said in our own process
    std::string dictionary{kEngineDictionary};
    std::string voiceFile;
    double rate = 1.0;
    Variant variant = Variant::AsRecorded;
    VoiceControls controls;
};

// Whether the engine can be run (when it is a program) and its dictionary read.
bool EngineInstalled(const EngineSetup& setup);

// What is missing for the engine to run, as one line for the user ("" when all is there):
// the packages to install when the engine or its dictionary is missing, the voice file when it
// cannot be read, is no whole voice (VoiceFileProblem) or none is given.
std::string MissingPieces(const EngineSetup& setup);

// The engine's argument vector for one chunk: text in inputFile, sound to wavFile, trace to
// traceFile.
std::vector<std::string> EngineArguments(const EngineSetup& setup, const std::string& inputFile,
                                         const std::string& wavFile, const std::string& traceFile);

} // namespace yomi6::natural
