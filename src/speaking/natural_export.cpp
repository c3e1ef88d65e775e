#include "speaking/natural_export.h"

#include "natural/voice_choice.h"
#include "platform/ui_text.h"
#include "playback/wav_render.h"
#include "settings/settings_path.h"
#include "settings/voice_settings.h"
#include "voice/sample_edit.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdlib>
#include <thread>
#include <unistd.h>

namespace yomi6 {

namespace {

// %1: the packages to install.
constexpr const char* kNoEngine = "自然な声のエンジンがありません (%1 をインストールしてください)。"
                                  "ｻﾝﾌﾟﾙの声で保存します。";
// %1: the voice file.
constexpr const char* kNoVoice = "自然な声のﾌｧｲﾙ %1 を読めません。ｻﾝﾌﾟﾙの声で保存します。";

bool Readable(const std::string& path) {
    return !path.empty() && ::access(path.c_str(), R_OK) == 0;
}

} // namespace

NaturalExportVoice NaturalExportVoiceFor(const SpeechPreferences& preferences) {
    NaturalExportVoice result;
    const VoiceSettings stored = LoadVoiceSettings(ProfileFile::Open(SettingsPath()));
    const std::optional<natural::VoiceChoice> choice =
        natural::ParseVoiceChoice(preferences.voice != 0 ? stored.maleSlot : stored.femaleSlot);
    if (!choice) {
        return result;
    }
    natural::EngineSetup setup;
    // $YOMI6_NATURAL_VOICE_DIR names the voice's folder for a run, as on the command line.
    const char* explicitFolder = std::getenv("YOMI6_NATURAL_VOICE_DIR");
    setup.voiceFile = natural::FindVoiceFile(
        choice->style, explicitFolder != nullptr ? explicitFolder : "",
        natural::DefaultVoiceFolders(QCoreApplication::applicationFilePath().toStdString()));
    setup.rate = natural::RateForSpeed(preferences.speed);
    setup.variant = choice->variant;
    if (!natural::MissingPieces(setup).empty()) {
        if (!Readable(setup.engine) || ::access(setup.dictionary.c_str(), R_OK) != 0) {
            result.problem = Tr(kNoEngine).arg(QString::fromUtf8(natural::kEnginePackages.data(),
                                                                 natural::kEnginePackages.size()));
        } else {
            const std::string file = setup.voiceFile.empty()
                                         ? std::string(natural::kVoiceName) + "-" +
                                               std::string(natural::StyleName(choice->style)) +
                                               ".htsvoice"
                                         : setup.voiceFile;
            result.problem = Tr(kNoVoice).arg(QString::fromStdString(file));
        }
        return result;
    }
    natural::NaturalPassOptions options;
    options.synthesis.setup = setup;
    options.synthesis.outputRate = kRenderRate;
    options.synthesis.level = BuiltInVoiceLevel();
    options.workers = std::max(1u, std::thread::hardware_concurrency());
    options.ahead = 2 * static_cast<std::size_t>(options.workers);
    result.options = options;
    return result;
}

} // namespace yomi6
