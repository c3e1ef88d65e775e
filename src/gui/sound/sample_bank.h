// The compiled-in voice samples decoded once, into the sound output's format: the editor's
// application context holds one for the whole run, a command-line run or a test its own.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace yomi6 {

class VoiceSelection;

class SampleBank {
public:
    // The program's samples, decoded now. A sample whose image cannot be read is left out, so
    // that playing it plays nothing.
    SampleBank();
    SampleBank(const SampleBank&) = delete;
    SampleBank& operator=(const SampleBank&) = delete;

    // The frames of the sample named name as voices resolves it: from the slot's voice folder
    // when it has the unit, else from the built-in voice the slot speaks with; empty for a name
    // the bank does not hold.
    std::span<const std::int16_t> Find(const VoiceSelection& voices, std::string_view name) const;

    std::size_t size() const { return m_pcm.size(); }

private:
    // Keyed by the names of the sample store, which live as long as the program.
    std::unordered_map<std::string_view, std::vector<std::int16_t>> m_pcm;
};

} // namespace yomi6
