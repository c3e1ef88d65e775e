#include "speaking/app_context.h"

#include "dictionary/word_registration.h"
#include "sound/sample_bank.h"
#include "speaking/speech_controller.h"
#include "voice_manager/voice_library.h"

#include <QPrinter>

namespace yomi6 {

AppContext::AppContext(SoundBackend& sound, const SpeechPreferences& start)
    : m_sound(sound), m_preferences(start), m_library(std::make_unique<VoiceLibrary>(m_voices)) {}
AppContext::~AppContext() = default;

SpeechController& AppContext::Speech() {
    if (!m_speech) {
        m_speech =
            std::make_unique<SpeechController>(m_preferences, m_settings, m_voices, *m_library,
                                               Samples(), m_dictionary, m_analyzer, m_sound);
    }
    return *m_speech;
}

const SampleBank& AppContext::Samples() {
    if (!m_samples) {
        m_samples = std::make_unique<SampleBank>();
    }
    return *m_samples;
}

WordRegistration& AppContext::Registration() {
    if (!m_registration) {
        m_registration = std::make_unique<WordRegistration>(m_dictionary);
    }
    return *m_registration;
}

QPrinter& AppContext::Printer() {
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return *m_printer;
}

} // namespace yomi6
