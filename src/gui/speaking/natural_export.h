// The natural voice in 音声ﾌｧｲﾙに保存: when the slot that speaks has a natural voice
// ("natural:STYLE" or "natural-lowered:STYLE", as 声の管理 chose it), the export is said by the
// natural engine at the speed setting's rate, on every core, found as F3 finds it.
#pragma once

#include "natural/natural_pass.h"
#include "playback/speech_state.h"
#include "voice/voice_slot.h"

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
    // Set when the lines in 「」 and 『』 have a voice of their own (声の管理's せりふの声).
    struct Lines {
        // Their natural voice when it can speak; else the sample voice of slot.
        std::optional<natural::NaturalPassOptions> options;
        VoiceSlot slot = VoiceSlot::Female;
    };
    std::optional<Lines> lines;
};

// The natural voice of the slot preferences.voice picks, as library holds it, and the voice of
// the lines as the library's choice gives it.
NaturalExportVoice NaturalExportVoiceFor(const VoiceLibrary& library,
                                         const SpeechPreferences& preferences);

} // namespace yomi6
