#include "natural/engine_setup.h"

#include "natural/voice_file.h"

#include <algorithm>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace yomi6::natural {

namespace {

bool IsReadableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), R_OK) == 0;
}

bool IsFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string Parent(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string FormatNumber(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.3f", value);
    return buffer;
}

} // namespace

std::string_view StyleName(Style style) {
    switch (style) {
    case Style::Happy:
        return "happy";
    case Style::Sad:
        return "sad";
    case Style::Angry:
        return "angry";
    case Style::Neutral:
        break;
    }
    return "neutral";
}

std::optional<Style> ParseStyle(std::string_view name) {
    for (const Style s : {Style::Neutral, Style::Happy, Style::Sad, Style::Angry}) {
        if (StyleName(s) == name) {
            return s;
        }
    }
    return std::nullopt;
}

std::string VoiceFileName(Style style) {
    return std::string(kVoiceName) + "-" + std::string(StyleName(style)) + ".htsvoice";
}

std::string FindVoiceFile(Style style, const std::string& explicitFolder,
                          const std::vector<std::string>& searchFolders) {
    const std::string name = VoiceFileName(style);
    if (!explicitFolder.empty()) {
        // A named folder is the user's choice: it is used, or said to be missing, never
        // silently replaced by another.
        return explicitFolder + "/" + name;
    }
    for (const std::string& folder : searchFolders) {
        std::string path = folder;
        path.append("/").append(name);
        if (IsReadableFile(path)) {
            return path;
        }
    }
    return "";
}

std::vector<std::string> DefaultVoiceFolders(const std::string& executablePath) {
    std::vector<std::string> folders;
    if (!executablePath.empty()) {
        const std::string prefix = Parent(Parent(executablePath));
        folders.push_back(prefix + "/share/yomi6/voices/" + std::string(kVoiceName));
        if (IsReadableFile(prefix + "/CMakeCache.txt")) {
            folders.push_back(Parent(prefix) + "/voices/" + std::string(kVoiceName));
        }
    }
    return folders;
}

double RateForSpeed(int speedMs) {
    if (speedMs <= 0) {
        return kMaxRate;
    }
    return std::clamp(kMoraMsAtRate1 / speedMs, kMinRate, kMaxRate);
}

bool EngineInstalled(const EngineSetup& setup) {
    return (setup.engine.empty() || ::access(setup.engine.c_str(), X_OK) == 0) &&
           IsFolder(setup.dictionary) && IsReadableFile(setup.dictionary + "/sys.dic");
}

std::string MissingPieces(const EngineSetup& setup) {
    if (!EngineInstalled(setup) && setup.engine.empty()) {
        return "the natural voice needs its dictionary " + setup.dictionary + ": apt-get install " +
               std::string(kDictionaryPackage);
    }
    if (!EngineInstalled(setup)) {
        return "the natural voice needs " + setup.engine + " and its dictionary " +
               setup.dictionary + ": apt-get install " + std::string(kEnginePackages);
    }
    if (setup.voiceFile.empty()) {
        return "the natural voice has no voice file";
    }
    if (!IsReadableFile(setup.voiceFile)) {
        return "the natural voice's file " + setup.voiceFile + " cannot be read";
    }
    if (const std::string problem = VoiceFileProblem(setup.voiceFile); !problem.empty()) {
        return "the natural voice's file " + setup.voiceFile + " cannot be used: it " + problem;
    }
    return "";
}

std::vector<std::string> EngineArguments(const EngineSetup& setup, const std::string& inputFile,
                                         const std::string& wavFile, const std::string& traceFile) {
    std::vector<std::string> args{
        setup.engine, "-x",  setup.dictionary, "-m", setup.voiceFile,         "-ow",
        wavFile,      "-ot", traceFile,        "-r", FormatNumber(setup.rate)};
    if (setup.variant == Variant::Lowered) {
        args.insert(args.end(),
                    {"-fm", FormatNumber(kLoweredHalfTones), "-a", FormatNumber(kLoweredAllPass)});
    }
    args.push_back(inputFile);
    return args;
}

} // namespace yomi6::natural
