#include "voice/voice_selection.h"

#include "voice/sample_store.h"
#include "voice/voice_table.h"

namespace yomi6 {

VoiceSelection::Resolved VoiceSelection::Resolve(std::string_view name) const {
    VoiceSlot slot;
    if (name.starts_with(kMalePrefix)) {
        slot = VoiceSlot::Male;
    } else if (name.starts_with(kFemalePrefix)) {
        slot = VoiceSlot::Female;
    } else {
        return {{}, name};
    }
    const std::string_view suffix = name.substr(kMalePrefix.size());
    const SlotVoice& voice = Of(slot);
    if (voice.folder) {
        if (const auto pcm = voice.folder->Find(suffix); !pcm.empty()) {
            return {pcm, {}};
        }
    }
    if (voice.builtIn == slot) {
        return {{}, name};
    }
    const std::string_view prefix = voice.builtIn == VoiceSlot::Male ? kMalePrefix : kFemalePrefix;
    for (const std::string_view candidate : SampleNames()) {
        if (candidate.starts_with(prefix) && candidate.substr(prefix.size()) == suffix) {
            return {{}, candidate};
        }
    }
    return {{}, name};
}

void VoiceSelection::Assign(VoiceSlot slot, SlotVoice voice) {
    SlotVoice& current = m_slots[Index(slot)];
    if (current.folder && current.folder != voice.folder) {
        m_retired.push_back(current.folder);
    }
    current = std::move(voice);
    ++m_generation;
}

} // namespace yomi6
