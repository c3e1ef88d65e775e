// Which engine speaks a reading, from the voice the speaking slot has: the natural voice when
// the slot has it and its engine and voice file are there, else the samples. The factory makes
// the session of each engine once and hands out the one a choice names, set up for it.
#pragma once

#include "engine/engine_choice.h"
#include "natural/engine_setup.h"
#include "natural/voice_choice.h"
#include "speech_session/session_voice.h"
#include "speech_session/unit_session.h"
#include "voice/voice_slot.h"

#include <QStringList>

#include <array>
#include <memory>
#include <optional>

namespace yomi6 {

class NaturalSession;
class SampleSession;
struct SpeechTickState;
class VoiceLibrary;

// What the engine of a reading or an export is chosen from (ChooseEngine): the slot voice as
// library holds it, at speed, saying workers chunks at once.
EngineRequest SlotEngineRequest(const VoiceLibrary& library, VoiceSlot voice, std::int32_t speed,
                                unsigned workers);

// The engine a reading speaks with: the speaking slot's voice, and the voice of the lines in
// 「」 and 『』 when 声の管理 gives them one of their own.
struct EngineChoice : EngineVoice {
    std::optional<EngineVoice> lines;
    // Two choices speak alike when both are the samples or both the same natural voice with the
    // same controls (a change of them is heard from the next sentence on), with the lines alike;
    // when the lines have a voice, the engine says the samples too, of the slot it was given.
    bool SpeaksAs(const EngineChoice& other) const {
        if (!EngineVoice::SpeaksAs(other) || lines.has_value() != other.lines.has_value()) {
            return false;
        }
        return !lines || (slot == other.slot && lines->SpeaksAs(*other.lines) &&
                          lines->slot == other.lines->slot);
    }
};

class SessionFactory {
public:
    // services and library belong to the caller and outlive the factory.
    SessionFactory(SessionServices& services, const VoiceLibrary& library);
    ~SessionFactory();
    SessionFactory(const SessionFactory&) = delete;
    SessionFactory& operator=(const SessionFactory&) = delete;

    // Starts loading the natural voice that either slot holds, so that the first F3 with it
    // does not wait for it (nothing when neither holds one that can speak).
    void PrepareSlotVoices();
    // The engine the speaking slot speaks with now. What is missing for its natural voice goes
    // to messages the first time it is missing in the run, and the samples speak.
    EngineChoice Choose(QStringList* messages);
    // The session that speaks as choice does, set up for it.
    UnitSession& SessionFor(const EngineChoice& choice);
    // Every session, for the one who connects to them.
    std::array<UnitSession*, 2> Sessions() const;
    // The tick machine's state of the samples' session, which lasts from one reading to the
    // next.
    const SpeechTickState& TickState() const;

private:
    // The voice request speaks with; what is missing for its natural voice goes to messages
    // the first time in the run.
    EngineVoice VoiceOf(const EngineRequest& request, QStringList* messages);

    SessionServices& m_services;
    const VoiceLibrary& m_library;
    std::unique_ptr<SampleSession> m_samples;
    std::unique_ptr<NaturalSession> m_natural;
    QStringList m_saidMissing; // what is missing for the natural voice, said once each
};

} // namespace yomi6
