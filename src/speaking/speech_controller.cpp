#include "speaking/speech_controller.h"

#include "analysis/analyzer_loader.h"
#include "dictionary/dictionary.h"
#include "io/message_sink.h"
#include "playback/long_reading.h"
#include "playback/playback.h"
#include "playback/speech_state.h"
#include "playback/wav_render.h"
#include "reading/reading_mode.h"
#include "reading/text_reader.h"
#include "reading/word_ranges.h"
#include "settings/settings.h"
#include "sound/sample_player.h"
#include "sound/speech_runner.h"
#include "speaking/analyzer_message.h"

#include <QApplication>

#include <algorithm>
#include <memory>
#include <string_view>
#include <vector>

namespace yomi6 {

SpeechController::SpeechController(SpeechPreferences& preferences, const AppSettings& settings,
                                   const VoiceSelection& voices, const SampleBank& samples,
                                   const Dictionary& dictionary, AnalyzerLoader& analyzer)
    : m_preferences(preferences), m_settings(settings), m_voices(voices), m_samples(samples),
      m_dictionary(dictionary), m_analyzer(analyzer),
      m_runner(std::make_unique<SpeechRunner>(
          m_preferences, m_session,
          [this](std::string_view sample, SpeechTimer::Clock::time_point due) {
              Player().Play(sample, due);
          })) {
    connect(m_runner.get(), &SpeechRunner::ticked, this, &SpeechController::PlayTick);
    connect(m_runner.get(), &SpeechRunner::finished, this, &SpeechController::FinishReading);
    connect(&m_schedule, &HighlightSchedule::due, this, &SpeechController::ShowHighlight);
    // The sound output opens in the background now, so that the first speak command is heard
    // from its first unit.
    Player();
}

SpeechController::~SpeechController() = default;

SamplePlayer& SpeechController::Player() {
    if (!m_player) {
        // Also after Shutdown(): a test may start the editor again in the same process.
        m_player = std::make_unique<SamplePlayer>(m_samples, m_voices);
        connect(m_player.get(), &SamplePlayer::outputUnavailable, this,
                &SpeechController::soundUnavailable);
    }
    return *m_player;
}

namespace {

// Whether text holds anything to read from position on: a character other than blanks and line
// breaks.
bool HasTextFrom(const QString& text, int position) {
    for (qsizetype i = std::max(position, 0); i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!c.isSpace()) {
            return true;
        }
    }
    return false;
}

} // namespace

bool SpeechController::ReadsAutomatically() const {
    return ResolveReadingMode(m_preferences.readings, m_analyzer) == ReadingMode::Automatic;
}

ReadingMode SpeechController::ReadingsOfLoadedPass() const {
    const ReadingMode mode = ResolveReadingMode(m_preferences.readings, m_analyzer);
    return mode == ReadingMode::Automatic && !m_analyzer.IsLoaded() ? ReadingMode::Dictionary
                                                                    : mode;
}

bool SpeechController::IsSpeakEnabled() const {
    return yomi6::IsSpeakEnabled(m_session);
}

QStringList SpeechController::Speak(const QObject* owner, const SpeechSource& text,
                                    const QString& wholeText) {
    m_long.Clear();
    m_runner->setNextPass({});
    m_paused = false;
    m_source = text;
    m_passOffset = 0;
    m_words = WordRanges(m_source.bytes);
    AnalyzerMessageCollector sink(m_analyzer);
    ReaderSetup setup(m_dictionary.View(), m_analyzer);
    setup.messages = &sink;
    setup.aozora = ReadsAutomatically() &&
                   ReadsAsAozora(m_preferences.aozora, std::string_view(m_source.bytes));
    StartSpeech(m_preferences, m_session,
                reinterpret_cast<const unsigned char*>(m_source.bytes.data()),
                m_source.bytes.size(), setup);
    m_passReadings = ReadingsOfLoadedPass();
    m_owner = owner;
    // Where the reading stopped: at the 4000-byte cut, or earlier when the reading filled its
    // buffer.
    const auto stopByte = static_cast<std::size_t>(std::max(m_session.sourceEnd, 0));
    const int stop = static_cast<int>(m_source.TextSpan(stopByte, stopByte).begin);
    m_cutAt = HasTextFrom(wholeText, stop) ? stop : -1;
    // The samples are fitted to the speed before the first tick (the first time at a speed
    // that takes a moment), never on a tick.
    // Those of the reading in both voices, as F5 may switch the voice meanwhile.
    if (m_settings.fitSamples != 0) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        SpeechPreferences other = m_preferences;
        other.voice = m_preferences.voice != 0 ? 0 : 1;
        std::vector<std::string_view> names = PassSchedule(m_preferences, m_session);
        const std::vector<std::string_view> otherNames = PassSchedule(other, m_session);
        names.insert(names.end(), otherNames.begin(), otherNames.end());
        Player().SetFitting(SampleFitting::On, m_preferences.speed, names);
        QApplication::restoreOverrideCursor();
    } else {
        Player().SetFitting(SampleFitting::Off, m_preferences.speed, {});
    }
    // A timer already running is replaced, at the current speed.
    m_runner->start();
    emit stateChanged();
    return sink.messages;
}

QStringList SpeechController::ReadRange(const QObject* owner, const QString& text, int begin,
                                        int end) {
    m_paused = false;
    m_cutAt = -1;
    m_long.Begin(text.toStdU16String(), static_cast<std::size_t>(std::max(begin, 0)),
                 static_cast<std::size_t>(std::max(end, 0)),
                 ReadsAutomatically() ? m_preferences.aozora : AozoraMode::Off);
    m_runner->setNextPass([this] { return LoadNextPass(); });
    AnalyzerMessageCollector sink(m_analyzer);
    ReaderSetup setup(m_dictionary.View(), m_analyzer);
    setup.messages = &sink;
    if (m_long.LoadNextPass(m_preferences, m_session, setup, false)) {
        TakePass();
    } else {
        // Nothing to read (the caret at the end): one tick over an empty reading ends it.
        static const unsigned char kNothing = 0;
        StartSpeech(m_preferences, m_session, &kNothing, 0, setup);
        m_source = SpeechSource();
        m_words.clear();
        m_passOffset = std::max(begin, 0);
        m_passReadings = ReadingsOfLoadedPass();
    }
    m_owner = owner;
    m_runner->start();
    emit stateChanged();
    return sink.messages;
}

void SpeechController::TakePass() {
    m_passReadings = ReadingsOfLoadedPass();
    m_source = m_long.Source();
    m_words = m_long.Words();
    m_passOffset = static_cast<int>(m_long.PassOffset());
}

bool SpeechController::LoadNextPass() {
    if (!m_long.LoadNextPass(m_preferences, m_session, ReaderSetup(m_dictionary.View(), m_analyzer),
                             m_preferences.repeat == kRepeatOn)) {
        return false;
    }
    TakePass();
    return true;
}

void SpeechController::Stop() {
    if (m_paused) {
        EndQuietly();
        return;
    }
    StopSpeech(m_session);
    emit stateChanged();
}

void SpeechController::TogglePause() {
    if (m_paused) {
        m_paused = false;
        // The next tick, one period from now, plays the next unit.
        m_runner->start();
    } else if (m_runner->isActive() && m_session.speaking == 1) {
        m_paused = true;
        m_runner->stop();
    }
    emit stateChanged();
}

void SpeechController::TextEdited(const QObject* owner) {
    if (m_paused && owner == m_owner) {
        EndQuietly();
    }
}

void SpeechController::EndQuietly() {
    m_runner->stop();
    m_session.speaking = 0;
    m_session.stopRequest = 0;
    m_paused = false;
    ClearHighlight(true);
    m_owner = nullptr;
    m_long.Clear();
    emit stateChanged();
}

void SpeechController::ClearHighlight(bool now) {
    if (m_owner == nullptr) {
        return;
    }
    SpeechHighlight none;
    none.owner = m_owner;
    if (now) {
        m_schedule.Clear();
        ShowHighlight(none);
    } else {
        none.onset = Player().onsetOf(m_runner->tickTime());
        m_schedule.Add(none, none.onset);
    }
}

void SpeechController::ShowHighlight(const SpeechHighlight& highlight) {
    m_unitOffset = highlight.unitOffset;
    m_unitLength = highlight.unitLength;
    m_shownOnset = highlight.onset;
    emit highlightChanged(highlight.owner, highlight.unitBegin, highlight.unitEnd,
                          highlight.wordBegin, highlight.wordEnd);
}

void SpeechController::ViewDeactivated(const QObject*) {
    if (m_paused) {
        EndQuietly();
        return;
    }
    StopSpeechOnDeactivation(m_session);
    emit stateChanged();
}

void SpeechController::ViewDestroyed(const QObject* view) {
    m_schedule.Forget(view); // nothing may reach the view once it is gone
    if (view == m_owner) {
        m_paused = false;
        m_long.Clear();
        // The timer belonged to the view's window: it ends with it, the stop request stays.
        m_runner->stop();
        m_owner = nullptr;
        emit stateChanged();
    }
}

void SpeechController::Shutdown() {
    m_schedule.Clear();
    m_runner->stop();
    m_owner = nullptr;
    m_player.reset();
}

bool SpeechController::IsTimerRunning() const {
    return m_runner->isActive();
}

void SpeechController::PlayTick(const TickResult& tick) {
    const QString sample =
        QString::fromLatin1(tick.sample.data(), static_cast<qsizetype>(tick.sample.size()));
    emit ticked(sample);
    const SpeechSource::Span span = m_source.TextSpan(tick.source.begin, tick.source.end);
    const int begin = m_passOffset + static_cast<int>(span.begin);
    const int end = m_passOffset + static_cast<int>(span.end);
    emit unitTicked(sample, begin, end);
    if (tick.unitLength == 0 && m_cutAt >= 0 && m_owner != nullptr) {
        // The tick past the pass's last unit: said once, even when repeat starts it again.
        emit passCut(m_owner, m_cutAt);
        m_cutAt = -1;
    }
    if (tick.unitLength > 0 && m_owner != nullptr) {
        std::int32_t first = tick.unitBegin;
        while (first > 0 && m_session.source[first - 1] == m_session.source[tick.unitBegin] &&
               m_session.reading[first - 1] != 0x0A && m_session.reading[first - 1] != 0x0D) {
            --first;
        }
        const SourceRange word = WordAround(m_words, tick.source);
        const SpeechSource::Span wordSpan = m_source.TextSpan(word.begin, word.end);
        SpeechHighlight highlight;
        highlight.owner = m_owner;
        highlight.unitBegin = begin;
        highlight.unitEnd = end;
        highlight.wordBegin = m_passOffset + static_cast<int>(wordSpan.begin);
        highlight.wordEnd = m_passOffset + static_cast<int>(wordSpan.end);
        highlight.unitOffset = tick.unitBegin - first;
        highlight.unitLength = tick.unitLength;
        // Shown when the sample is heard: the output plays it a fixed latency after its tick.
        highlight.onset = Player().onsetOf(m_runner->tickTime());
        m_schedule.Add(highlight, highlight.onset);
    }
}

void SpeechController::FinishReading() {
    ClearHighlight(false);
    m_long.Clear();
    m_paused = false;
    m_owner = nullptr;
    emit stateChanged();
}

} // namespace yomi6
