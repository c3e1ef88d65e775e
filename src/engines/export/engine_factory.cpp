#include "export/engine_factory.h"

#include "export/natural_voice_engine.h"
#include "export/voice_cache.h"
#include "natural/engine_setup.h"
#include "synthesis/hts_voice.h"

#include "engine/engine_choice.h"

#include <filesystem>
#include <mutex>

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

EngineSettings SettingsOf(const natural::NaturalPassOptions& options) {
    const natural::EngineSetup& setup = options.synthesis.setup;
    return {setup.voiceFile, 0,
            setup.variant == natural::Variant::Lowered ? natural::kLoweredHalfTones : 0};
}

// The natural voice's engine while its voice is still being loaded: a saying waits for the
// voice on its own thread, then says through the engine made with it, each block handed on
// through this engine's own stop.
class LoadingVoiceEngine : public SpeechEngine {
public:
    LoadingVoiceEngine(std::shared_ptr<VoiceLoad> loading, std::optional<DictionaryView> dic,
                       natural::NaturalPassOptions options, natural::PassMessage onMessage)
        : m_loading(std::move(loading)), m_dic(dic), m_options(std::move(options)),
          m_onMessage(std::move(onMessage)) {}

    int SampleRate() const override {
        return m_options.synthesis.outputRate > 0 ? m_options.synthesis.outputRate
                                                  : kNaturalVoiceRate;
    }
    SampleBits Bits() const override { return SampleBits::Sixteen; }
    EngineCapabilities Capabilities() const override { return {UnitKind::Mora, 0}; }
    EngineSettings Settings() const override { return SettingsOf(m_options); }

private:
    EngineResult Run(const EngineText& text, const EngineSink& sink) override {
        const synthesis::HtsVoice::Loaded* loaded =
            m_loading->Wait([this] { return StoppedNow(); });
        if (loaded == nullptr) {
            return {SpeechStatus::Stopped, "", 0, 0};
        }
        const std::unique_ptr<SpeechEngine> engine =
            MakeNaturalEngine(*loaded, m_dic, m_options, m_onMessage);
        {
            const std::lock_guard lock(m_engineMutex);
            m_engine = engine.get();
        }
        if (StoppedNow()) {
            engine->Stop(StopAt::Now);
        }
        bool stopped = false;
        const EngineSink through{
            [&](const SoundBlock& block) { return Hand(block, sink, stopped); }, sink.onProgress};
        EngineResult result = engine->Say(text, through);
        {
            const std::lock_guard lock(m_engineMutex);
            m_engine = nullptr;
        }
        if (stopped || StoppedNow()) {
            result.status = SpeechStatus::Stopped;
        }
        return result;
    }

    void Interrupt() override {
        m_loading->Wake();
        const std::lock_guard lock(m_engineMutex);
        if (m_engine != nullptr) {
            m_engine->Stop(StopAt::Now);
        }
    }

    std::shared_ptr<VoiceLoad> m_loading;
    std::optional<DictionaryView> m_dic;
    natural::NaturalPassOptions m_options;
    natural::PassMessage m_onMessage;
    std::mutex m_engineMutex;
    SpeechEngine* m_engine = nullptr; // the engine saying now, for Interrupt
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
    pass.synthesis.halfTones = from.setup.controls.halfTones;
    pass.synthesis.intonation = from.setup.controls.intonation;
    pass.synthesis.style = {StyleOfFile(from.setup.voiceFile), from.setup.controls.styleWeight};
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
    pass.pauses = options.pauses;
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
    const EngineSettings settings = SettingsOf(options);
    if (loaded.voice == nullptr) {
        return std::make_unique<UnloadedEngine>(loaded.error, options.synthesis.outputRate,
                                                settings);
    }
    return std::make_unique<NaturalVoiceEngine>(loaded.voice, dic, VoicePassOptionsOf(options),
                                                settings, std::move(onMessage));
}

std::unique_ptr<SpeechEngine> MakeNaturalEngine(std::shared_ptr<VoiceLoad> loading,
                                                std::optional<DictionaryView> dic,
                                                const natural::NaturalPassOptions& options,
                                                natural::PassMessage onMessage) {
    return std::make_unique<LoadingVoiceEngine>(std::move(loading), dic, options,
                                                std::move(onMessage));
}

} // namespace yomi6
