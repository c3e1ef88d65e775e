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

EngineRequest SlotEngineRequest(const VoiceLibrary& library, VoiceSlot voice, std::int32_t speed,
                                unsigned workers) {
    EngineRequest request;
    request.maleSlot = voice == VoiceSlot::Male;
    request.slotValue = library.SlotValue(voice).toStdString();
    request.speed = speed;
    request.workers = workers;
    request.controls = VoiceControlsOf(library.Controls());
    request.pauses = library.Pauses();
    return request;
}

EngineVoice SessionFactory::VoiceOf(const EngineRequest& request, QStringList* messages) {
    EngineVoice voice;
    voice.slot = request.maleSlot ? VoiceSlot::Male : VoiceSlot::Female;
    const ChosenEngine chosen = ChooseEngine(m_library.Natural(), request);
    if (!chosen.natural) {
        return voice;
    }
    if (!chosen.SpeaksNaturally()) {
        const QString missing = NaturalMissingText(chosen.setup);
        if (!m_saidMissing.contains(missing)) {
            m_saidMissing << missing;
            *messages << missing;
        }
        return voice;
    }
    voice.natural = chosen.natural;
    voice.setup = chosen.setup.engine;
    voice.pauses = chosen.pass.pauses.value_or(DefaultPauses());
    return voice;
}

EngineChoice SessionFactory::Choose(QStringList* messages) {
    const VoiceSlot speaking = m_services.preferences.voice;
    const EngineRequest request =
        SlotEngineRequest(m_library, speaking, m_services.preferences.speed, 1);
    EngineChoice choice;
    static_cast<EngineVoice&>(choice) = VoiceOf(request, messages);
    const VoiceSlot other = speaking == VoiceSlot::Male ? VoiceSlot::Female : VoiceSlot::Male;
    if (const std::optional<EngineRequest> lines = DialogueRequestOf(
            request, m_library.Dialogue(), m_library.SlotValue(other).toStdString())) {
        choice.lines = VoiceOf(*lines, messages);
    }
    return choice;
}

void SessionFactory::PrepareSlotVoices() {
    // The speaking slot's first: the cache loads one folder, which holds every style.
    const VoiceSlot speaking = m_services.preferences.voice;
    const VoiceSlot other = speaking == VoiceSlot::Male ? VoiceSlot::Female : VoiceSlot::Male;
    for (const VoiceSlot slot : {speaking, other}) {
        const ChosenEngine chosen =
            ChooseEngine(m_library.Natural(),
                         SlotEngineRequest(m_library, slot, m_services.preferences.speed, 1));
        if (chosen.SpeaksNaturally()) {
            m_natural->PrepareVoice(chosen.setup.engine);
            return;
        }
    }
}

UnitSession& SessionFactory::SessionFor(const EngineChoice& choice) {
    if (choice.lines) {
        // Two voices, one after the other: said by engines.
        m_natural->SetVoices(choice, *choice.lines);
        return *m_natural;
    }
    if (!choice.natural) {
        return *m_samples;
    }
    m_natural->SetVoice(choice.setup, choice.pauses);
    return *m_natural;
}

std::array<UnitSession*, 2> SessionFactory::Sessions() const {
    return {m_samples.get(), m_natural.get()};
}

const SpeechTickState& SessionFactory::TickState() const {
    return m_samples->TickState();
}

} // namespace yomi6
