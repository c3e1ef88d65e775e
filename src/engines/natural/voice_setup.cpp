#include "natural/voice_setup.h"

#include <cstdlib>
#include <unistd.h>

namespace yomi6::natural {

namespace {

std::string ProgramPath() {
    char buffer[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

std::string Listed(const std::vector<std::string>& folders) {
    std::string out;
    for (const std::string& folder : folders) {
        out += (out.empty() ? "" : ", ") + folder;
    }
    return out;
}

} // namespace

Installation InstallationOf(const std::string& executablePath, const char* namedFolder) {
    Installation installation;
    if (namedFolder != nullptr) {
        installation.voiceFolder = namedFolder;
    }
    installation.searchFolders = DefaultVoiceFolders(executablePath);
    return installation;
}

Installation RunInstallation() {
    return InstallationOf(ProgramPath(), std::getenv("YOMI6_NATURAL_VOICE_DIR"));
}

VoiceSetup SetUpVoice(const Installation& installation, const VoiceChoice& choice, int speedMs) {
    VoiceSetup setup;
    EngineSetup& engine = setup.engine;
    engine.engine = installation.engine;
    engine.dictionary = installation.dictionary;
    engine.voiceFile =
        FindVoiceFile(choice.style, installation.voiceFolder, installation.searchFolders);
    engine.rate = RateForSpeed(speedMs);
    engine.variant = choice.variant;
    setup.voiceFile = engine.voiceFile.empty() ? VoiceFileName(choice.style) : engine.voiceFile;
    if (!EngineInstalled(engine)) {
        setup.missing = MissingPiece::Engine;
    } else if (!MissingPieces(engine).empty()) {
        setup.missing = MissingPiece::VoiceFile;
        setup.searched = installation.voiceFolder.empty()
                             ? installation.searchFolders
                             : std::vector<std::string>{installation.voiceFolder};
    }
    return setup;
}

std::string MissingText(const VoiceSetup& setup) {
    switch (setup.missing) {
    case MissingPiece::None:
        return "";
    case MissingPiece::Engine:
        return MissingPieces(setup.engine);
    case MissingPiece::VoiceFile:
        break;
    }
    if (setup.engine.voiceFile.empty()) {
        return "the natural voice's file " + setup.voiceFile + " is in none of " +
               (setup.searched.empty() ? std::string("the voice folders")
                                       : Listed(setup.searched)) +
               " ($YOMI6_NATURAL_VOICE_DIR names another folder)";
    }
    return MissingPieces(setup.engine); // found, but unreadable or no whole voice
}

} // namespace yomi6::natural
