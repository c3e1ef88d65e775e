#include "sound/sample_bank.h"

#include "voice/sample_store.h"
#include "voice/voice_selection.h"
#include "wave/sample_pcm.h"
#include "wave/wave_decoder.h"

namespace yomi6 {

SampleBank::SampleBank() {
    for (const std::string_view name : SampleNames()) {
        const SampleImage image = FindSample(name);
        const auto wave = ParseWave(image.data, image.size);
        if (!wave) {
            continue;
        }
        std::vector<std::int16_t> pcm = DecodeSamplePcm(*wave);
        if (!pcm.empty()) {
            m_pcm.emplace(name, std::move(pcm));
        }
    }
}

std::span<const std::int16_t> SampleBank::Find(const VoiceSelection& voices,
                                               std::string_view name) const {
    // The slot's voice folder first; else the built-in voice the slot speaks with.
    const VoiceSelection::Resolved voice = voices.Resolve(name);
    if (!voice.pcm.empty()) {
        return voice.pcm;
    }
    const auto it = m_pcm.find(voice.builtInName);
    if (it == m_pcm.end()) {
        return {};
    }
    return it->second;
}

} // namespace yomi6
