// The natural voice as the editor offers it: where its engine and voice file are looked for in
// this run, how a slot's choice of it (voice_choice.h) is named for the user, and the engine set
// up for a choice at a speed, or what is missing for it in words the user reads.
#pragma once

#include "natural/engine_setup.h"
#include "natural/voice_choice.h"
#include "natural/voice_setup.h"

#include <QString>

#include <optional>

namespace yomi6 {

// Where the natural voice's engine and files are looked for in this run: the core's one rule,
// shared with the audio export and the command line.
using NaturalInstall = natural::Installation;

// The engine's own place, the folder $YOMI6_NATURAL_VOICE_DIR names, and the voice folders of
// the running program's prefix and source tree (natural::RunInstallation).
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

// The engine set up to say choice at speed (milliseconds per unit), or what is missing: the
// packages, or the voice file and the folders it was looked for in.
NaturalSetup SetUpNaturalVoice(const NaturalInstall& install, const natural::VoiceChoice& choice,
                               int speed);

// What is missing for setup's voice to speak, and that the built-in voice reads instead.
QString NaturalMissingText(const natural::VoiceSetup& setup);

// The voice file setup lacks, for a message that goes on to say what speaks instead:
// 「自然な声の音声ファイル F が A、B のどこにもありません。」, or 「… F を読めません。」 for a file
// in the folder named for the run.
QString NaturalVoiceFileMissing(const natural::VoiceSetup& setup);

} // namespace yomi6
