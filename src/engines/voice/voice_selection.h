// Which voice speaks in each of the two slots that the voice flag chooses between: the male
// slot (samples "IDW_...") and the female slot ("IDF_..."). A slot speaks with one of the two
// built-in voices or with a voice folder; a unit the folder lacks is spoken by the slot's own
// built-in voice.
#pragma once

#include "voice/voice_folder.h"
#include "voice/voice_slot.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace yomi6 {

struct SlotVoice {
    VoiceSlot builtIn;                         // the built-in voice the slot speaks with
    std::shared_ptr<const FolderVoice> folder; // when set, its units come first
};

class VoiceSelection {
public:
    // A unit resolved to its sound: the frames of a folder voice, or else the name of the
    // built-in sample to play (one of SampleNames(), or the name asked for).
    struct Resolved {
        std::span<const std::int16_t> pcm;
        std::string_view builtInName;
    };

    // The sound of a sample name ("IDF_KA"): by the voice of the slot its prefix names. Names
    // without a voice prefix pass through unchanged. Allocates nothing.
    Resolved Resolve(std::string_view name) const;

    const SlotVoice& Of(VoiceSlot slot) const { return m_slots[Index(slot)]; }

    // Gives the slot a voice. The voice it had is kept alive for the rest of the run: a sound
    // output may still be playing frames of it.
    void Assign(VoiceSlot slot, SlotVoice voice);

    // Counts the assignments, for caches of converted sounds that must follow them.
    std::uint64_t Generation() const { return m_generation; }

private:
    static std::size_t Index(VoiceSlot slot) { return slot == VoiceSlot::Male ? 0 : 1; }

    SlotVoice m_slots[2] = {{VoiceSlot::Male, nullptr}, {VoiceSlot::Female, nullptr}};
    std::vector<std::shared_ptr<const FolderVoice>> m_retired;
    std::uint64_t m_generation = 0;
};

} // namespace yomi6
