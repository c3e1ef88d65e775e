#include "speaking/speech_controller.h"

#include "sound/speech_player.h"

#include <algorithm>

namespace yomi6 {

namespace {

// Whether text holds anything to read from position on: a character other than blanks and line
// breaks.
bool HasTextFrom(const QString& text, int position) {
    for (qsizetype i = std::max(position, 0); i < text.size(); ++i) {
        if (!text.at(i).isSpace()) {
            return true;
        }
    }
    return false;
}

} // namespace

SpeechController::SpeechController(SpeechPreferences& preferences, const AppSettings& settings,
                                   const VoiceSelection& voices, const VoiceLibrary& library,
                                   const SampleBank& samples, const Dictionary& dictionary,
                                   AnalyzerLoader& analyzer, SoundBackend& sound)
    : m_voices(voices), m_samples(samples),
      m_sound(sound), m_services{preferences,
                                 settings,
                                 dictionary,
                                 analyzer,
                                 [this]() -> SpeechPlayer& { return Player(); },
                                 &voices},
      m_factory(m_services, library), m_session(&m_factory.SessionFor({})) {
    // A slot with the natural voice: its styles load in the background from the start.
    m_factory.PrepareSlotVoices();
    connect(&m_schedule, &HighlightSchedule::due, this, &SpeechController::ShowHighlight);
    for (UnitSession* each : m_factory.Sessions()) {
        UnitSession& session = *each;
        // Only the current session's reading reaches the documents.
        const auto current = [this, &session] { return &session == m_session; };
        connect(&session, &UnitSession::unitPlaced, this, [this, current](const SessionUnit& u) {
            if (current()) {
                PlaceUnit(u);
            }
        });
        connect(&session, &UnitSession::passEnded, this, [this, current] {
            if (current()) {
                PassEnded();
            }
        });
        connect(&session, &UnitSession::finished, this,
                [this, current](UnitSession::Clock::time_point silentAt) {
                    if (current()) {
                        Finished(silentAt);
                    }
                });
        connect(&session, &UnitSession::handedOver, this, [this, current](int position) {
            if (current()) {
                HandOver(position);
            }
        });
        connect(&session, &UnitSession::withdrawn, this,
                [this](UnitSession::Clock::time_point from) { m_schedule.DropFrom(from); });
        connect(&session, &UnitSession::restarted, this, &SpeechController::stateChanged);
        connect(&session, &UnitSession::notice, this, &SpeechController::notice);
        session.SetKeepsVoice(
            [this, &session](int position) { return KeepsVoice(session, position); });
    }
    // The sound output opens in the background now, so that the first speak command is heard
    // from its first unit.
    Player();
}

SpeechController::~SpeechController() = default;

SpeechPlayer& SpeechController::Player() {
    if (!m_player) {
        // Also after Shutdown(): a test may start the editor again in the same process.
        m_player = std::make_unique<SpeechPlayer>(m_samples, m_voices, m_sound);
        connect(m_player.get(), &SpeechPlayer::outputUnavailable, this,
                &SpeechController::soundUnavailable);
    }
    return *m_player;
}

UnitSession& SpeechController::Begin(const QObject* owner, SpeechListener* listener,
                                     const EngineChoice& choice) {
    UnitSession& next = m_factory.SessionFor(choice);
    Player().EndFade();
    if (&next != m_session) {
        m_session->EndQuietly();
    }
    m_session = &next;
    m_choice = choice;
    m_owner = owner;
    m_listener = listener;
    return next;
}

QStringList SpeechController::Speak(const QObject* owner, const SpeechSource& text,
                                    const QString& wholeText, SpeechListener* listener) {
    QStringList missing;
    UnitSession& session = Begin(owner, listener, m_factory.Choose(&missing));
    const SessionStart start = session.SpeakFirstPass(text, wholeText);
    m_text = wholeText;
    m_end = start.end;
    m_cutAt = HasTextFrom(wholeText, start.end) ? start.end : -1;
    emit stateChanged();
    return missing + start.messages;
}

QStringList SpeechController::ReadRange(const QObject* owner, const QString& text, int begin,
                                        int end, SpeechListener* listener) {
    QStringList missing;
    UnitSession& session = Begin(owner, listener, m_factory.Choose(&missing));
    m_cutAt = -1;
    const SessionStart start = session.ReadRange(text, begin, end);
    m_text = text;
    m_end = start.end;
    emit stateChanged();
    return missing + start.messages;
}

bool SpeechController::KeepsVoice(const UnitSession& session, int position) {
    // Another voice goes on only where there is text left for it to read.
    if (&session != m_session || m_owner == nullptr || m_text.isEmpty() || position >= m_end) {
        return true;
    }
    QStringList messages;
    const EngineChoice now = m_factory.Choose(&messages);
    for (const QString& message : messages) {
        emit notice(message);
    }
    if (now.SpeaksAs(m_choice)) {
        return true;
    }
    m_next = now;
    return false;
}

void SpeechController::HandOver(int position) {
    // The rest of what was read, from that sentence on, in the slot's voice; the speak
    // command's cut is still told at the end.
    const int cutAt = m_cutAt;
    UnitSession& session = Begin(m_owner, m_listener, m_next);
    m_end = session.ReadRange(m_text, position, m_end).end;
    m_cutAt = cutAt;
    emit stateChanged();
}

void SpeechController::PlaceUnit(const SessionUnit& unit) {
    emit ticked(unit.says);
    emit unitTicked(unit.says, unit.begin, unit.end);
    if (!unit.heard || m_owner == nullptr) {
        return;
    }
    SpeechHighlight highlight;
    highlight.owner = m_owner;
    highlight.listener = m_listener;
    highlight.unitBegin = unit.begin;
    highlight.unitEnd = unit.end;
    highlight.wordBegin = unit.wordBegin;
    highlight.wordEnd = unit.wordEnd;
    highlight.unitOffset = unit.offsetInSource;
    highlight.unitLength = unit.length;
    highlight.onset = unit.onset;
    // Shown when it is heard.
    m_schedule.Add(highlight, unit.onset);
}

void SpeechController::PassEnded() {
    if (m_owner != nullptr && m_cutAt >= 0) {
        // Said once, even when repeat starts the reading again.
        emit passCut(m_owner, m_cutAt);
        m_cutAt = -1;
    }
}

void SpeechController::Finished(std::chrono::steady_clock::time_point silentAt) {
    ClearHighlight(silentAt);
    m_owner = nullptr;
    m_listener = nullptr;
    emit stateChanged();
}

void SpeechController::EndedNow() {
    ClearHighlight(std::nullopt);
    m_owner = nullptr;
    m_listener = nullptr;
}

void SpeechController::Stop() {
    if (m_session->Stop()) {
        EndedNow();
    }
    emit stateChanged();
}

void SpeechController::TogglePause() {
    if (m_session->IsPaused()) {
        Player().EndFade();
    }
    m_session->TogglePause();
    emit stateChanged();
}

void SpeechController::FadeOut(std::chrono::steady_clock::duration length, std::int32_t floor) {
    Player().FadeOut(std::chrono::steady_clock::now(), length, floor);
}

void SpeechController::TextEdited(const QObject* owner) {
    if (IsPaused() && owner == m_owner) {
        m_session->EndQuietly();
        EndedNow();
        emit stateChanged();
    }
}

void SpeechController::ClearHighlight(std::optional<std::chrono::steady_clock::time_point> at) {
    if (m_owner == nullptr) {
        return;
    }
    SpeechHighlight none;
    none.owner = m_owner;
    none.listener = m_listener;
    if (!at) {
        m_schedule.Clear();
        ShowHighlight(none);
        return;
    }
    none.onset = *at;
    m_schedule.Add(none, *at);
}

void SpeechController::ShowHighlight(const SpeechHighlight& highlight) {
    m_shownOnset = highlight.onset;
    if (highlight.listener != nullptr) {
        highlight.listener->UnitHeard(highlight);
    }
    emit highlightChanged(highlight.owner, highlight.unitBegin, highlight.unitEnd,
                          highlight.wordBegin, highlight.wordEnd);
}

void SpeechController::ViewDeactivated(const QObject* view) {
    if (m_session->Deactivated(view == m_owner)) {
        EndedNow();
    }
    emit stateChanged();
}

void SpeechController::ViewDestroyed(const QObject* view) {
    m_schedule.Forget(view); // nothing may reach the view or its document once it is gone
    if (view == m_owner) {
        m_session->Abandon();
        m_owner = nullptr;
        m_listener = nullptr;
        emit stateChanged();
    }
}

void SpeechController::Shutdown() {
    for (UnitSession* session : m_factory.Sessions()) {
        session->Abandon();
    }
    m_schedule.Clear();
    m_owner = nullptr;
    m_listener = nullptr;
    m_player.reset();
}

} // namespace yomi6
