#include "speech_session/session_factory.h"

#include "playback/speech_state.h"
#include "speech_session/natural_session.h"
#include "speech_session/sample_session.h"
#include "voice_manager/natural_voice.h"
#include "voice_manager/voice_library.h"

namespace yomi6 {

SessionFactory::SessionFactory(SessionServices& services, const VoiceLibrary& library)
    : m_services(services), m_library(library),
      m_samples(std::make_unique<SampleSession>(services)),
      m_natural(std::make_unique<NaturalSession>(services)) {}

SessionFactory::~SessionFactory() = default;

EngineChoice SessionFactory::Choose(QStringList* messages) {
    const VoiceSlot slot = m_services.preferences.voice;
    const std::optional<natural::VoiceChoice> choice = m_library.NaturalChoice(slot);
    if (!choice) {
        return {};
    }
    const NaturalSetup setup =
        SetUpNaturalVoice(m_library.Natural(), *choice, m_services.preferences.speed);
    if (!setup.setup) {
        if (!m_saidMissing.contains(setup.missing)) {
            m_saidMissing << setup.missing;
            *messages << setup.missing;
        }
        return {};
    }
    return {choice, *setup.setup};
}

UnitSession& SessionFactory::SessionFor(const EngineChoice& choice) {
    if (!choice.natural) {
        return *m_samples;
    }
    m_natural->SetVoice(choice.setup);
    return *m_natural;
}

std::array<UnitSession*, 2> SessionFactory::Sessions() const {
    return {m_samples.get(), m_natural.get()};
}

const SpeechTickState& SessionFactory::TickState() const {
    return m_samples->TickState();
}

} // namespace yomi6
