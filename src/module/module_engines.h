// The engines the module speaks with, made in this one place: the sample voices of the
// settings file's slots, or the natural voice in one of its styles, read with the automatic
// reading and the user's dictionary from the same files the editor uses (loaded once).
#pragma once

#include "analysis/analyzer_loader.h"
#include "dictionary/dictionary.h"
#include "engine/speech_engine.h"
#include "playback/wav_render.h"
#include "synthesis/hts_voice.h"

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
};

class ModuleEngines {
public:
    // log receives each problem as one line.
    explicit ModuleEngines(std::function<void(const std::string&)> log);

    // The user's speed (milliseconds per unit), from the settings file.
    std::int32_t UserSpeed() const { return m_speed; }

    // A new engine for wish; a natural voice that cannot speak is said to log once per
    // message and the sample voice speaks instead.
    std::unique_ptr<SpeechEngine> Make(const EngineWish& wish);

private:
    std::function<void(const std::string&)> m_log;
    Dictionary m_dictionary;
    AnalyzerLoader m_analyzer;
    SoundSource m_sounds;
    std::int32_t m_speed = 180;
    std::int32_t m_readings = 0;
    // The natural voice as last loaded, and the file it was loaded beside.
    synthesis::HtsVoice::Loaded m_voice;
    std::string m_voiceFile;
};

} // namespace yomi6::module
