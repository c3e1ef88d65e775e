#include "speaking/natural_export.h"

#include "natural/voice_setup.h"
#include "platform/ui_text.h"
#include "playback/wav_render.h"
#include "voice/sample_edit.h"
#include "voice_manager/natural_voice.h"
#include "voice_manager/voice_library.h"

#include <algorithm>
#include <thread>

namespace yomi6 {

namespace {

// %1: the packages to install.
constexpr const char* kNoEngine = "自然な声のエンジンがありません (%1 をインストールしてください)。"
                                  "ｻﾝﾌﾟﾙの声で保存します。";
constexpr const char* kSamplesInstead = "ｻﾝﾌﾟﾙの声で保存します。";

} // namespace

NaturalExportVoice NaturalExportVoiceFor(const VoiceLibrary& library,
                                         const SpeechPreferences& preferences) {
    NaturalExportVoice result;
    const std::optional<natural::VoiceChoice> choice = library.NaturalChoice(preferences.voice);
    if (!choice) {
        return result;
    }
    const natural::VoiceSetup setup =
        natural::SetUpVoice(library.Natural(), *choice, preferences.speed);
    switch (setup.missing) {
    case natural::MissingPiece::Engine:
        result.problem = Tr(kNoEngine).arg(
            QString::fromUtf8(natural::kEnginePackages.data(), natural::kEnginePackages.size()));
        return result;
    case natural::MissingPiece::VoiceFile:
        result.problem = NaturalVoiceFileMissing(setup) + Tr(kSamplesInstead);
        return result;
    case natural::MissingPiece::None:
        break;
    }
    natural::NaturalPassOptions options;
    options.synthesis.setup = setup.engine;
    options.synthesis.outputRate = kRenderRate;
    options.synthesis.level = BuiltInVoiceLevel();
    options.workers = std::max(1u, std::thread::hardware_concurrency());
    options.ahead = 2 * static_cast<std::size_t>(options.workers);
    result.options = options;
    return result;
}

} // namespace yomi6
