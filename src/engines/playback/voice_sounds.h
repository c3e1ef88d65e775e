// The sounds of a voice selection in the renderers' form: for each sample name, the unit from
// its slot's voice folder, converted once to 8-bit mono at the render rate, or else the
// built-in sample the slot speaks with. It holds its own copy of the selection, so that a
// rendering off the user-interface thread never meets a change of voices half way.
#pragma once

#include "playback/wav_render.h"
#include "voice/voice_selection.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace yomi6 {

class VoiceSounds {
public:
    explicit VoiceSounds(VoiceSelection voices);

    // The sound of a sample name ("IDF_KA"); none for a name neither voice has. The sound stays
    // valid as long as this object.
    SampleSound Find(std::string_view name);

private:
    VoiceSelection m_voices;
    std::unordered_map<std::string, std::vector<unsigned char>> m_converted;
};

// A sound source over a copy of voices, for the renderers and the export.
SoundSource VoiceSoundSource(const VoiceSelection& voices);

} // namespace yomi6
