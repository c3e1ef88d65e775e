// The engines the module speaks with, made in this one place: the sample voices of the
// settings file's slots, or the natural voice in one of its styles, read with the automatic
// reading and the user's dictionary from the same files the editor uses (loaded once).
#pragma once

#include "analysis/analyzer_loader.h"
#include "dictionary/dictionary.h"
#include "engine/speech_engine.h"
#include "export/voice_cache.h"
#include "natural/natural_pass.h"
#include "playback/wav_render.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace yomi6::module {

// The voices LIST VOICES names: the two sample voices, then the natural voice's styles.
std::vector<std::string> ModuleVoiceNames();

struct EngineWish {
    std::string voice; // one of ModuleVoiceNames(), or "" for the settings' slot
    bool male = false; // the male slot (a MALE voice type) when voice is ""
    std::int32_t speedMs = 180;
    // The pitch asked for, which the natural voice makes itself (its half-tone control, added
    // to the settings' own), said at naturalSpeedMs: its sound is played as it comes, never
    // faster, so its units are not lengthened as the samples' are (SoundShape).
    double halfTones = 0;
    std::int32_t naturalSpeedMs = 180;
};

// The natural voice's pass for wish: its speed and the wish's pitch on top of the settings'.
void ApplyWish(const EngineWish& wish, natural::NaturalPassOptions& pass);

class ModuleEngines {
public:
    // log receives each problem as one line.
    explicit ModuleEngines(std::function<void(const std::string&)> log);

    // The user's speed (milliseconds per unit), from the settings file.
    std::int32_t UserSpeed() const { return m_speed; }
    // The analyzer of the automatic reading, or null when it cannot be loaded. For the
    // thread that makes the engines.
    Analyzer* WordAnalyzer();

    // Starts loading the natural voice in the background when wish speaks with it, so that
    // the first message does not wait for it (the settings' slot when wish is the default).
    void Prepare(const EngineWish& wish);

    // A new engine for wish; a natural voice that cannot speak is said to log once per
    // message and the sample voice speaks instead. A natural voice still being loaded is
    // waited for by the engine's saying, which a stop ends.
    // ownPitch, when given, tells whether the engine made the wish's pitch itself (the natural
    // voice), or its sound is to be played faster by SoundShape's factor (the samples).
    std::unique_ptr<SpeechEngine> Make(const EngineWish& wish, bool* ownPitch = nullptr);

private:
    std::function<void(const std::string&)> m_log;
    Dictionary m_dictionary;
    AnalyzerLoader m_analyzer;
    SoundSource m_sounds;
    std::int32_t m_speed = 180;
    std::int32_t m_readings = 0;
    NaturalVoiceCache m_voices; // the natural voice's styles, loaded once
};

} // namespace yomi6::module
