// The natural voice as the editor offers it: where its engine and voice file are looked for in
// this run, how a slot's choice of it (voice_choice.h) is named for the user, and the engine set
// up for a choice at a speed, or what is missing for it in words the user reads.
#pragma once

#include "natural/engine_setup.h"
#include "natural/voice_choice.h"

#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace yomi6 {

struct NaturalInstall {
    std::string engine{natural::kEnginePath};
    std::string dictionary{natural::kEngineDictionary};
    std::string voiceFolder;                // named for the run ($YOMI6_NATURAL_VOICE_DIR), or ""
    std::vector<std::string> searchFolders; // looked in when none is named
};

// The engine's own place, the folder $YOMI6_NATURAL_VOICE_DIR names, and the voice folders of
// the running program's prefix and source tree.
NaturalInstall DefaultNaturalInstall();

// The voice folders for the sample engine that are installed with the program: the folders under
// <prefix>/share/yomi6/voices/ and, for a program run from its build folder, under the source
// tree's voices/, that hold at least one unit's WAVE file.
QStringList InstalledKanaFolders();

// 「tohoku-f01（自然な声）」 or 「tohoku-f01 低め（同じ女声を低くしたもの）」.
QString NaturalVoiceLabel(natural::Variant variant);
// 標準, 喜び, 悲しみ, 怒り.
QString StyleLabel(natural::Style style);
inline constexpr natural::Style kStyles[] = {natural::Style::Neutral, natural::Style::Happy,
                                             natural::Style::Sad, natural::Style::Angry};

struct NaturalSetup {
    std::optional<natural::EngineSetup> setup; // none: missing says why
    QString missing;                           // one line naming the packages or the file
};

// The engine set up to say choice at speed (milliseconds per unit), or what is missing.
NaturalSetup SetUpNaturalVoice(const NaturalInstall& install, const natural::VoiceChoice& choice,
                               int speed);

} // namespace yomi6
