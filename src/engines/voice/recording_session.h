// A session of recording a voice of one's own into a voice folder, unit by unit. Every take
// is written to the folder as soon as it is kept, crash-safely, so an interrupted session
// loses nothing; the folder itself is the session's state, and a new session over the same
// folder goes on from the first unit it does not hold yet.
#pragma once

#include "voice/voice_units.h"

#include <cstdint>
#include <span>
#include <string>

namespace yomi6 {

class RecordingSession {
public:
    explicit RecordingSession(std::string folder);

    // Creates the folder (and the folders above it) when missing, and writes the pause unit,
    // which is silence rather than a recording, unless the folder has it. false, with the
    // reason in error, when the folder cannot be made or written to.
    bool Open(std::string& error);

    const std::string& folder() const { return m_folder; }

    // The units to record: every unit but the pause, in VoiceUnits() order.
    static std::size_t Count() { return kVoiceUnitCount - 1; }
    static const VoiceUnit& Unit(std::size_t index);

    std::string PathOf(std::size_t index) const;
    bool IsRecorded(std::size_t index) const;
    std::size_t RecordedCount() const;
    // Where a session goes on: the first unit not recorded yet, or Count() when all are.
    std::size_t FirstMissing() const;

    // Keeps a take (16-bit mono frames at rate) as the unit's file, replacing an earlier take.
    bool Save(std::size_t index, std::span<const std::int16_t> pcm, int rate,
              std::string& error) const;

private:
    std::string m_folder;
};

} // namespace yomi6
