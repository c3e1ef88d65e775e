#include "speech_session/unit_session.h"

#include "analysis/analyzer_loader.h"
#include "playback/speech_state.h"
#include "reading/word_ranges.h"
#include "text/speech_text.h"

#include <algorithm>

namespace yomi6 {

SessionUnit SessionUnitOf(const SpokenUnit& unit, const UnitSource& from, int offsetInSource,
                          int length, std::chrono::steady_clock::time_point onset) {
    SessionUnit placed;
    placed.says = QString::fromUtf8(unit.says.data(), static_cast<qsizetype>(unit.says.size()));
    const SpeechSource::Span span = from.source.TextSpan(unit.sourceBegin, unit.sourceEnd);
    placed.begin = from.offset + static_cast<int>(span.begin);
    placed.end = from.offset + static_cast<int>(span.end);
    placed.heard = length > 0;
    if (!placed.heard) {
        return placed;
    }
    const auto local = [&](std::size_t byte) {
        return static_cast<std::uint16_t>(std::clamp(byte, from.wordsFrom, from.wordsTo) -
                                          from.wordsFrom);
    };
    const SourceRange word =
        WordAround(from.words, SourceRange{local(unit.sourceBegin), local(unit.sourceEnd)});
    const SpeechSource::Span wordSpan =
        from.source.TextSpan(from.wordsFrom + word.begin, from.wordsFrom + word.end);
    placed.wordBegin = from.offset + static_cast<int>(wordSpan.begin);
    placed.wordEnd = from.offset + static_cast<int>(wordSpan.end);
    placed.offsetInSource = offsetInSource;
    placed.length = length;
    placed.onset = onset;
    return placed;
}

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
