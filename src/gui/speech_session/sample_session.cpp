#include "speech_session/sample_session.h"

#include "analysis/analyzer_loader.h"
#include "dictionary/dictionary.h"
#include "playback/playback.h"
#include "playback/wav_render.h"
#include "reading/text_reader.h"
#include "reading/word_ranges.h"
#include "settings/settings.h"
#include "sound/speech_player.h"
#include "sound/speech_runner.h"
#include "speech_session/analyzer_message.h"

#include <QApplication>

#include <algorithm>
#include <string_view>

namespace yomi6 {

namespace {

// The unit a tick hands on, as an engine says it (its place on the clock is the tick's, which
// the session does not need).
SpokenUnit SpokenUnitOf(const TickResult& tick) {
    SpokenUnit unit;
    unit.says = tick.sample;
    unit.sourceBegin = tick.source.begin;
    unit.sourceEnd = tick.source.end;
    return unit;
}

// Whether the choice, resolved, reads automatically (and so may heed Aozora notation).
bool ReadsAutomatically(const SessionServices& services) {
    return ResolveReadingMode(services.preferences.readings, services.analyzer) ==
           ReadingMode::Automatic;
}

} // namespace

SampleSession::SampleSession(SessionServices& services, QObject* parent)
    : UnitSession(services, parent),
      m_runner(std::make_unique<SpeechRunner>(
          services.preferences, m_tick,
          [this](std::string_view sample, SpeechTimer::Clock::time_point due) {
              Player().Play(sample, due);
          })) {
    connect(m_runner.get(), &SpeechRunner::ticked, this, &SampleSession::PlayTick);
    connect(m_runner.get(), &SpeechRunner::finished, this, &SampleSession::Finish);
}

SampleSession::~SampleSession() = default;

SessionStart SampleSession::SpeakFirstPass(const SpeechSource& source, const QString& text) {
    const SpeechPreferences& preferences = m_services.preferences;
    m_long.Clear();
    m_runner->setNextPass({});
    m_paused = false;
    m_source = source;
    m_sentenceStarts.Reset();
    m_passOffset = 0;
    m_words = WordRanges(m_source.bytes);
    AnalyzerMessageCollector sink(m_services.analyzer);
    ReaderSetup setup(m_services.dictionary.View(), m_services.analyzer);
    setup.messages = &sink;
    // Whether the document is in Aozora notation is found in the whole document, not only in the
    // part that is read: its first ruby or note may lie far beyond the cut.
    setup.aozora =
        ReadsAutomatically(m_services) &&
        (text.isEmpty()
             ? ReadsAsAozora(preferences.aozora, std::string_view(m_source.bytes))
             : ReadsAsAozora(preferences.aozora,
                             std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                                 static_cast<std::size_t>(text.size()))));
    StartSpeech(preferences, m_tick, reinterpret_cast<const unsigned char*>(m_source.bytes.data()),
                m_source.bytes.size(), setup);
    NotePassReadings();
    // Where the reading stopped: at the 4000-byte cut, or earlier when the reading filled its
    // buffer.
    const auto stopByte = static_cast<std::size_t>(std::max(m_tick.sourceEnd, 0));
    const int stop = static_cast<int>(m_source.TextSpan(stopByte, stopByte).begin);
    FitSamples();
    // A timer already running is replaced, at the current speed.
    m_runner->start();
    return {sink.messages, stop};
}

void SampleSession::FitSamples() {
    // The samples are fitted to the speed before the first tick (the first time at a speed
    // that takes a moment), never on a tick; those of the reading in both voices, as F5 may
    // switch the voice meanwhile.
    const SpeechPreferences& preferences = m_services.preferences;
    if (!m_services.settings.fitSamples) {
        Player().SetFitting(SampleFitting::Off, preferences.speed, {});
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    SpeechPreferences other = preferences;
    other.voice = OtherVoice(preferences.voice);
    std::vector<std::string_view> names = PassSchedule(preferences, m_tick);
    const std::vector<std::string_view> otherNames = PassSchedule(other, m_tick);
    names.insert(names.end(), otherNames.begin(), otherNames.end());
    Player().SetFitting(SampleFitting::On, preferences.speed, names);
    QApplication::restoreOverrideCursor();
}

SessionStart SampleSession::ReadRange(const QString& text, int begin, int end) {
    const SpeechPreferences& preferences = m_services.preferences;
    m_paused = false;
    m_long.Begin(text.toStdU16String(), static_cast<std::size_t>(std::max(begin, 0)),
                 static_cast<std::size_t>(std::max(end, 0)),
                 ReadsAutomatically(m_services) ? preferences.aozora : AozoraMode::Off);
    m_runner->setNextPass([this] { return LoadNextPass(); });
    AnalyzerMessageCollector sink(m_services.analyzer);
    ReaderSetup setup(m_services.dictionary.View(), m_services.analyzer);
    setup.messages = &sink;
    if (m_long.LoadNextPass(preferences, m_tick, setup, false)) {
        TakePass();
    } else {
        // Nothing to read (the caret at the end): one tick over an empty reading ends it.
        static const unsigned char kNothing = 0;
        StartSpeech(preferences, m_tick, &kNothing, 0, setup);
        m_source = SpeechSource();
        m_sentenceStarts.Reset();
        m_words.clear();
        m_passOffset = std::max(begin, 0);
        NotePassReadings();
    }
    m_runner->start();
    return {sink.messages, end};
}

void SampleSession::TakePass() {
    NotePassReadings();
    m_source = m_long.Source();
    m_sentenceStarts.Reset();
    m_words = m_long.Words();
    m_passOffset = static_cast<int>(m_long.PassOffset());
}

bool SampleSession::LoadNextPass() {
    if (!m_long.LoadNextPass(m_services.preferences, m_tick,
                             ReaderSetup(m_services.dictionary.View(), m_services.analyzer),
                             m_services.preferences.repeat)) {
        return false;
    }
    TakePass();
    return true;
}

bool SampleSession::Stop() {
    if (m_paused) {
        EndQuietly();
        return true;
    }
    // The next tick ends the reading.
    StopSpeech(m_tick);
    return false;
}

void SampleSession::TogglePause() {
    if (m_paused) {
        m_paused = false;
        // The next tick, one period from now, plays the next unit.
        m_runner->start();
    } else if (m_runner->isActive() && m_tick.speaking == 1) {
        m_paused = true;
        m_runner->stop();
    }
}

void SampleSession::EndQuietly() {
    m_runner->stop();
    m_tick.speaking = 0;
    m_tick.stopRequest = 0;
    m_paused = false;
    m_long.Clear();
}

bool SampleSession::Deactivated(bool) {
    if (m_paused) {
        EndQuietly();
        return true;
    }
    // Whichever view it was: the timer stops after one more unit.
    StopSpeechOnDeactivation(m_tick);
    return false;
}

void SampleSession::Abandon() {
    m_paused = false;
    m_long.Clear();
    // The timer belonged to the view's window: it ends with it, the stop request stays.
    m_runner->stop();
}

bool SampleSession::IsSpeaking() const {
    return !yomi6::IsSpeakEnabled(m_tick);
}

bool SampleSession::IsRunning() const {
    return m_runner->isActive();
}

bool SampleSession::HandsOver(const TickResult& tick) {
    if (tick.unitLength == 0) {
        return false;
    }
    // Only where a sentence of another voice would begin: at the first unit of its first word
    // (the units of a word all carry the word's bytes).
    if (tick.unitBegin > 0 && m_tick.source[tick.unitBegin - 1] == m_tick.source[tick.unitBegin]) {
        return false;
    }
    if (!m_sentenceStarts.Has(m_source.bytes, tick.source.begin)) {
        return false;
    }
    const int position =
        m_passOffset +
        static_cast<int>(m_source.TextSpan(tick.source.begin, tick.source.begin).begin);
    if (KeepsVoiceAt(position)) {
        return false;
    }
    // The sample this tick handed on gives way to the sentence.
    const auto now = std::chrono::steady_clock::now();
    Player().Silence(now - (Player().OnsetOf(now) - now));
    m_tick.speaking = 0;
    m_tick.stopRequest = 0;
    m_long.Clear();
    m_runner->setNextPass({});
    m_runner->stop();
    m_paused = false;
    emit handedOver(position);
    return true;
}

void SampleSession::PlayTick(const TickResult& tick) {
    if (HandsOver(tick)) {
        return;
    }
    int offsetInSource = 0;
    Clock::time_point onset{};
    if (tick.unitLength > 0) {
        std::int32_t first = tick.unitBegin;
        while (first > 0 && m_tick.source[first - 1] == m_tick.source[tick.unitBegin] &&
               m_tick.reading[first - 1] != 0x0A && m_tick.reading[first - 1] != 0x0D) {
            --first;
        }
        offsetInSource = tick.unitBegin - first;
        // Heard when the output plays it, a fixed latency after its tick.
        onset = Player().OnsetOf(m_runner->tickTime());
    }
    const SessionUnit unit = SessionUnitOf(
        SpokenUnitOf(tick), {m_source, m_passOffset, m_words, 0, m_source.bytes.size()},
        offsetInSource, tick.unitLength, onset);
    emit unitPlaced(unit);
    if (tick.unitLength == 0) {
        // The tick past the pass's last unit.
        emit passEnded();
    }
}

void SampleSession::Finish() {
    m_long.Clear();
    m_paused = false;
    emit finished(Player().OnsetOf(m_runner->tickTime()));
}

} // namespace yomi6
