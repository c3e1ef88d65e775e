#include "speaking/natural_export.h"

#include "engine/engine_choice.h"
#include "natural/voice_setup.h"
#include "platform/ui_text.h"
#include "speech_session/session_factory.h"
#include "voice_manager/natural_voice.h"
#include "voice_manager/voice_library.h"

#include <thread>

namespace yomi6 {

namespace {

// %1: the packages to install.
constexpr const char* kNoEngine = "自然な声のエンジンがありません (%1 をインストールしてください)。"
                                  "ｻﾝﾌﾟﾙの声で保存します。";
constexpr const char* kSamplesInstead = "ｻﾝﾌﾟﾙの声で保存します。";

} // namespace

namespace {

// The voice of the lines in 「」 and 『』 when the library gives them one.
std::optional<NaturalExportVoice::Lines> LinesVoice(const VoiceLibrary& library,
                                                    const EngineRequest& narrator) {
    const VoiceSlot other = narrator.maleSlot ? VoiceSlot::Female : VoiceSlot::Male;
    const std::optional<EngineRequest> request =
        DialogueRequestOf(narrator, library.Dialogue(), library.SlotValue(other).toStdString());
    if (!request) {
        return std::nullopt;
    }
    NaturalExportVoice::Lines lines;
    lines.slot = request->maleSlot ? VoiceSlot::Male : VoiceSlot::Female;
    if (const ChosenEngine chosen = ChooseEngine(library.Natural(), *request);
        chosen.SpeaksNaturally()) {
        lines.options = chosen.pass;
    }
    return lines;
}

} // namespace

NaturalExportVoice NaturalExportVoiceFor(const VoiceLibrary& library,
                                         const SpeechPreferences& preferences) {
    NaturalExportVoice result;
    const EngineRequest request = SlotEngineRequest(library, preferences.voice, preferences.speed,
                                                    std::thread::hardware_concurrency());
    result.lines = LinesVoice(library, request);
    const ChosenEngine chosen = ChooseEngine(library.Natural(), request);
    switch (chosen.natural ? chosen.setup.missing : natural::MissingPiece::None) {
    case natural::MissingPiece::Engine:
        result.problem = Tr(kNoEngine).arg(
            QString::fromUtf8(natural::kEnginePackages.data(), natural::kEnginePackages.size()));
        return result;
    case natural::MissingPiece::VoiceFile:
        result.problem = NaturalVoiceFileMissing(chosen.setup) + Tr(kSamplesInstead);
        return result;
    case natural::MissingPiece::None:
        break;
    }
    if (chosen.SpeaksNaturally()) {
        result.options = chosen.pass;
    }
    return result;
}

} // namespace yomi6
