#include "export/engine_factory.h"

#include "export/natural_voice_engine.h"
#include "natural/engine_setup.h"
#include "synthesis/hts_voice.h"

#include <filesystem>

namespace yomi6 {

namespace {

// An engine whose voice could not be loaded: every saying fails with why.
class UnloadedEngine : public SpeechEngine {
public:
    UnloadedEngine(std::string error, int rate, EngineSettings settings)
        : m_error(std::move(error)), m_rate(rate), m_settings(std::move(settings)) {}

    int SampleRate() const override { return m_rate; }
    SampleBits Bits() const override { return SampleBits::Sixteen; }
    EngineCapabilities Capabilities() const override { return {UnitKind::Mora, 0}; }
    EngineSettings Settings() const override { return m_settings; }

private:
    EngineResult Run(const EngineText&, const EngineSink&) override {
        return {SpeechStatus::Failed, "the natural voice: " + m_error, 0, 0};
    }

    std::string m_error;
    int m_rate;
    EngineSettings m_settings;
};

// The style whose voice file file is (neutral when it is none of them).
natural::Style StyleOfFile(const std::string& file) {
    const std::string name = std::filesystem::path(file).filename().string();
    for (const natural::Style style : synthesis::kVoiceStyles) {
        if (name == natural::VoiceFileName(style)) {
            return style;
        }
    }
    return natural::Style::Neutral;
}

} // namespace

natural_voice::VoicePassOptions VoicePassOptionsOf(const natural::NaturalPassOptions& options) {
    const natural::SynthesisOptions& from = options.synthesis;
    natural_voice::VoicePassOptions pass;
    pass.synthesis.rate = from.setup.rate;
    pass.synthesis.variant = from.setup.variant;
    pass.synthesis.style = {StyleOfFile(from.setup.voiceFile), 1.0};
    pass.synthesis.outputRate = from.outputRate;
    pass.synthesis.maxLeadingSilence = std::chrono::milliseconds(from.maxLeadSilenceMs);
    pass.synthesis.maxTrailingSilence = std::chrono::milliseconds(from.maxTailSilenceMs);
    pass.firstLeadingSilence =
        std::chrono::milliseconds(options.firstLeadSilenceMs.value_or(from.maxLeadSilenceMs));
    pass.pieces = options.chunks;
    pass.workers = options.workers;
    pass.ahead = options.ahead;
    pass.analyzerFolder = from.analyzerFolder;
    pass.accentDictionary = from.setup.dictionary;
    pass.aozora = options.aozora;
    std::string error;
    labels::AccentRules::Parse("all", pass.rules, error);
    return pass;
}

synthesis::HtsVoice::Loaded LoadNaturalVoice(const natural::NaturalPassOptions& options) {
    // The four styles lie beside the voice file the setup found.
    const std::string folder =
        std::filesystem::path(options.synthesis.setup.voiceFile).parent_path().string();
    return synthesis::HtsVoice::Load(synthesis::StyleVoiceFiles(folder, {}));
}

std::unique_ptr<SpeechEngine> MakeNaturalEngine(std::optional<DictionaryView> dic,
                                                const natural::NaturalPassOptions& options,
                                                natural::PassMessage onMessage) {
    return MakeNaturalEngine(LoadNaturalVoice(options), dic, options, std::move(onMessage));
}

std::unique_ptr<SpeechEngine> MakeNaturalEngine(const synthesis::HtsVoice::Loaded& loaded,
                                                std::optional<DictionaryView> dic,
                                                const natural::NaturalPassOptions& options,
                                                natural::PassMessage onMessage) {
    const natural::EngineSetup& setup = options.synthesis.setup;
    const EngineSettings settings{
        setup.voiceFile, 0,
        setup.variant == natural::Variant::Lowered ? natural::kLoweredHalfTones : 0};
    if (loaded.voice == nullptr) {
        return std::make_unique<UnloadedEngine>(loaded.error, options.synthesis.outputRate,
                                                settings);
    }
    return std::make_unique<NaturalVoiceEngine>(loaded.voice, dic, VoicePassOptionsOf(options),
                                                settings, std::move(onMessage));
}

} // namespace yomi6
