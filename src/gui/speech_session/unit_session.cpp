#include "speech_session/unit_session.h"

#include "analysis/analyzer_loader.h"
#include "playback/speech_state.h"

namespace yomi6 {

UnitSession::UnitSession(SessionServices& services, QObject* parent)
    : QObject(parent), m_services(services) {}

void UnitSession::NotePassReadings(bool ownAnalyzer) {
    const ReadingMode mode =
        ResolveReadingMode(m_services.preferences.readings, m_services.analyzer);
    m_passReadings =
        mode == ReadingMode::Automatic && !ownAnalyzer && !m_services.analyzer.IsLoaded()
            ? ReadingMode::Dictionary
            : mode;
}

} // namespace yomi6
