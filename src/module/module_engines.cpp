#include "module/module_engines.h"

#include "cli/cli_common.h"
#include "cli/settings_voices.h"
#include "cli/speech_options.h"
#include "engine/engine_choice.h"
#include "export/engine_factory.h"
#include "export/sample_engine.h"
#include "natural/voice_setup.h"
#include "playback/voice_sounds.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace yomi6::module {

namespace {

constexpr std::array kStyles{natural::Style::Neutral, natural::Style::Happy, natural::Style::Sad,
                             natural::Style::Angry};
constexpr std::string_view kNaturalPrefix = "natural-";

// Where the natural voice's files are looked for: as the program is run, and then under the
// prefix the module is installed in (<prefix>/lib/speech-dispatcher-modules/sd_yomi6), where
// the package puts them.
natural::Installation ModuleInstallation() {
    natural::Installation installation = natural::RunInstallation();
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const std::filesystem::path prefix = self.parent_path().parent_path().parent_path();
        for (std::string& folder : natural::DefaultVoiceFolders((prefix / "bin/yomi6").string())) {
            installation.searchFolders.push_back(std::move(folder));
        }
    }
    return installation;
}

} // namespace

std::vector<std::string> ModuleVoiceNames() {
    std::vector<std::string> names{"female", "male"};
    for (const natural::Style style : kStyles) {
        names.push_back(std::string(kNaturalPrefix) + std::string(natural::StyleName(style)));
    }
    return names;
}

ModuleEngines::ModuleEngines(std::function<void(const std::string&)> log) : m_log(std::move(log)) {
    // The editor reads "Yomi6.dic" in the folder it runs in, the home folder when started from
    // the desktop; the module is started by the server wherever that runs.
    cli::Options options;
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
        const std::string path = std::string(home) + "/Yomi6.dic";
        if (::access(path.c_str(), F_OK) == 0) {
            options.dictionary = path;
        }
    }
    if (!cli::LoadCliDictionary(options, m_dictionary)) {
        m_log("the user's dictionary cannot be read; the built-in words are used");
    }
    const cli::SpeechDefaults defaults = cli::DefaultSpeechOptions();
    m_analyzer.SetConfiguredDictionary(defaults.analyzerDictionary);
    // Loaded now rather than at the first message, which is then heard at once.
    if (std::string error; m_analyzer.Get(error) == nullptr) {
        m_log("the automatic reading cannot be loaded (" + error +
              "); texts are read with the dictionary alone");
    }
    m_speed = defaults.speed;
    m_readings = defaults.readings;
    m_sounds = VoiceSoundSource(cli::SettingsVoiceSelection());
}

namespace {

// The engine wish asks for, as the command line would choose it.
ChosenEngine ChooseFor(const EngineWish& wish) {
    cli::Options options;
    options.speed = wish.speedMs;
    bool male = wish.male;
    if (wish.voice == "female" || wish.voice == "male") {
        options.engine = cli::SpeechEngine::Samples;
        male = wish.voice == "male";
    } else if (wish.voice.starts_with(kNaturalPrefix)) {
        options.engine = cli::SpeechEngine::Natural;
        options.style = wish.voice.substr(kNaturalPrefix.size());
    }
    options.voice = male ? 1 : 0;
    return ChooseEngine(ModuleInstallation(), cli::EngineRequestOf(options, 1));
}

} // namespace

void ApplyWish(const EngineWish& wish, natural::NaturalPassOptions& pass) {
    natural::EngineSetup& setup = pass.synthesis.setup;
    setup.rate = natural::RateForSpeed(wish.naturalSpeedMs);
    // The sum is kept within the synthesis's range when the sentence is said.
    setup.controls.halfTones += std::isfinite(wish.halfTones) ? wish.halfTones : 0.0;
}

namespace {

bool IsMale(const EngineWish& wish) {
    return wish.voice == "female" || wish.voice == "male" ? wish.voice == "male" : wish.male;
}

} // namespace

Analyzer* ModuleEngines::WordAnalyzer() {
    std::string error;
    return m_analyzer.Get(error);
}

void ModuleEngines::Prepare(const EngineWish& wish) {
    if (const ChosenEngine chosen = ChooseFor(wish); chosen.SpeaksNaturally()) {
        m_voices.Prepare(chosen.pass);
    }
}

std::unique_ptr<SpeechEngine> ModuleEngines::Make(const EngineWish& wish, bool* ownPitch) {
    const ChosenEngine chosen = ChooseFor(wish);
    if (ownPitch != nullptr) {
        *ownPitch = chosen.SpeaksNaturally();
    }
    const bool male = IsMale(wish);
    if (chosen.natural && !chosen.SpeaksNaturally()) {
        m_log(natural::MissingText(chosen.setup) + "; the sample voice speaks instead");
    }
    if (chosen.SpeaksNaturally()) {
        natural::NaturalPassOptions pass = chosen.pass;
        ApplyWish(wish, pass);
        pass.firstLeadSilenceMs = 0; // heard live: start at once
        pass.chunks.firstAtParticle = true;
        return MakeNaturalEngine(
            m_voices.Voice(pass), m_dictionary.View(), pass,
            [this](const std::string& message) { m_log("natural voice: " + message); });
    }
    ExportRequest request(ReaderSetup(m_dictionary.View(), m_analyzer));
    request.voice = male ? 1 : 0;
    request.speed = wish.speedMs;
    request.readings = m_readings;
    request.sounds = m_sounds;
    return std::make_unique<SampleEngine>(request);
}

} // namespace yomi6::module
