// The natural voice set up for a run, by one rule for the editor's speech, its audio export and
// the command line: where the engine and the voice files are looked for, in which order, and
// what is missing when the voice a slot or an option names cannot speak.
#pragma once

#include "natural/engine_setup.h"
#include "natural/voice_choice.h"

#include <string>
#include <vector>

namespace yomi6::natural {

// Where the engine, its dictionary and the voice files are looked for in a run.
struct Installation {
    std::string engine{kEnginePath};
    std::string dictionary{kEngineDictionary};
    std::string voiceFolder;                // named for the run ($YOMI6_NATURAL_VOICE_DIR), or ""
    std::vector<std::string> searchFolders; // looked in, in order, when none is named
};

// The installation of the program at executablePath: the engine's own place, the folder
// namedFolder gives (null or empty: none), and DefaultVoiceFolders(executablePath).
Installation InstallationOf(const std::string& executablePath, const char* namedFolder);

// The installation of this process: its own program file and $YOMI6_NATURAL_VOICE_DIR.
Installation RunInstallation();

enum class MissingPiece { None, Engine, VoiceFile };

struct VoiceSetup {
    EngineSetup engine; // the engine set up for the voice; it speaks when nothing is missing
    MissingPiece missing = MissingPiece::None;
    // The voice file: its path when a folder was named or holds it, else only its name.
    std::string voiceFile;
    // Where the voice file was looked for when it is missing: the named folder, else the search
    // folders.
    std::vector<std::string> searched;

    bool CanSpeak() const { return missing == MissingPiece::None; }
};

// The engine set up to say choice at speedMs (milliseconds per unit), or what is missing.
VoiceSetup SetUpVoice(const Installation& installation, const VoiceChoice& choice, int speedMs);

// What is missing, as one line in English ("" when nothing is): the packages to install, or the
// voice file by name and the folders it was looked for in.
std::string MissingText(const VoiceSetup& setup);

} // namespace yomi6::natural
