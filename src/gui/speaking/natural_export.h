// The natural voice in 音声ﾌｧｲﾙに保存: when the slot that speaks has a natural voice
// ("natural:STYLE" or "natural-lowered:STYLE", as 声の管理 chose it), the export is said by the
// natural engine at the speed setting's rate, on every core, found as F3 finds it.
#pragma once

#include "natural/natural_pass.h"
#include "playback/speech_state.h"

#include <QString>

#include <optional>

namespace yomi6 {

class VoiceLibrary;

struct NaturalExportVoice {
    // Set when the slot that speaks has a natural voice and the engine and its voice are there.
    std::optional<natural::NaturalPassOptions> options;
    // Not empty when the slot has a natural voice that cannot speak: what is missing, for the
    // user, and that the sample voice speaks instead.
    QString problem;
};

// The natural voice of the slot preferences.voice picks, as library holds it.
NaturalExportVoice NaturalExportVoiceFor(const VoiceLibrary& library,
                                         const SpeechPreferences& preferences);

} // namespace yomi6
