#include "view/app_context.h"

#include "view/speech_controller.h"

#include <QPrinter>

namespace yomi6 {

AppContext::AppContext(const SpeechPreferences& start) : m_preferences(start) {}
AppContext::~AppContext() = default;

SpeechController& AppContext::Speech() {
    if (!m_speech) {
        m_speech = std::make_unique<SpeechController>(m_preferences);
    }
    return *m_speech;
}

QPrinter& AppContext::Printer() {
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return *m_printer;
}

} // namespace yomi6
