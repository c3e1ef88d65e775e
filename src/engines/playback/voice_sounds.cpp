#include "playback/voice_sounds.h"

#include "wave/pcm_convert.h"
#include "wave/sample_pcm.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace yomi6 {

namespace {

// Folder units are held at the player's rate; the renderers mix at kRenderRate in 8 bits.
std::vector<unsigned char> ToRenderFormat(std::span<const std::int16_t> pcm) {
    std::vector<float> mono(pcm.size());
    std::transform(pcm.begin(), pcm.end(), mono.begin(),
                   [](std::int16_t v) { return static_cast<float>(v) / 32768.0f; });
    const std::vector<std::int16_t> resampled = ToPlayerPcm(mono, kOutputSampleRate, kRenderRate);
    std::vector<unsigned char> bytes(resampled.size());
    std::transform(resampled.begin(), resampled.end(), bytes.begin(), NarrowFrame);
    return bytes;
}

} // namespace

VoiceSounds::VoiceSounds(VoiceSelection voices) : m_voices(std::move(voices)) {}

SampleSound VoiceSounds::Find(std::string_view name) {
    const VoiceSelection::Resolved voice = m_voices.Resolve(name);
    if (voice.pcm.empty()) {
        return CompiledInSound(voice.builtInName);
    }
    auto it = m_converted.find(std::string(name));
    if (it == m_converted.end()) {
        it = m_converted.emplace(std::string(name), ToRenderFormat(voice.pcm)).first;
    }
    if (it->second.empty()) {
        return CompiledInSound(name);
    }
    return {kRenderRate, it->second};
}

SoundSource VoiceSoundSource(const VoiceSelection& voices) {
    auto sounds = std::make_shared<VoiceSounds>(voices);
    return [sounds](std::string_view name) { return sounds->Find(name); };
}

} // namespace yomi6
