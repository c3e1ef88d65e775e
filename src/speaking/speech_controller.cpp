#include "speaking/speech_controller.h"

#include "analysis/analyzer_loader.h"
#include "dictionary/dictionary.h"
#include "io/message_sink.h"
#include "natural/chunking.h"
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
#include "speaking/natural_speech.h"
#include "text/halfwidth_kana.h"
#include "text/utf8_codec.h"
#include "voice/sample_edit.h"
#include "voices/natural_voice.h"
#include "voices/voice_library.h"
#include "wave/sample_pcm.h"

#include <QApplication>

#include <algorithm>
#include <memory>
#include <string_view>
#include <vector>

namespace yomi6 {

SpeechController::SpeechController(SpeechPreferences& preferences, const AppSettings& settings,
                                   const VoiceSelection& voices, const VoiceLibrary& library,
                                   const SampleBank& samples, const Dictionary& dictionary,
                                   AnalyzerLoader& analyzer)
    : m_preferences(preferences), m_settings(settings), m_voices(voices), m_library(library),
      m_samples(samples), m_dictionary(dictionary), m_analyzer(analyzer),
      m_runner(std::make_unique<SpeechRunner>(
          m_preferences, m_session,
          [this](std::string_view sample, SpeechTimer::Clock::time_point due) {
              Player().Play(sample, due);
          })),
      m_natural(std::make_unique<NaturalSpeech>([this]() -> SamplePlayer& { return Player(); })) {
    connect(m_runner.get(), &SpeechRunner::ticked, this, &SpeechController::PlayTick);
    connect(m_runner.get(), &SpeechRunner::finished, this, &SpeechController::FinishReading);
    connect(&m_schedule, &HighlightSchedule::due, this, &SpeechController::ShowHighlight);
    connect(m_natural.get(), &NaturalSpeech::unitStarted, this, &SpeechController::PlayNaturalUnit);
    connect(m_natural.get(), &NaturalSpeech::finished, this, &SpeechController::FinishNatural);
    connect(m_natural.get(), &NaturalSpeech::handedOver, this,
            &SpeechController::SwitchNaturalVoice);
    connect(m_natural.get(), &NaturalSpeech::chunkSkipped, this, [this](const QString& why) {
        emit notice(QString::fromUtf8("自然な声で読めない文を飛ばしました（%1）").arg(why));
    });
    // F5 takes effect between sentences: the reading goes on with the voice the slot now has.
    m_natural->SetGoOn([this](std::size_t) {
        QStringList ignored;
        const natural::VoiceChoice before = m_naturalVoice;
        return UsesNaturalVoice(&ignored) && m_naturalVoice == before;
    });
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
    return !IsNaturalActive() && yomi6::IsSpeakEnabled(m_session);
}

bool SpeechController::IsNaturalActive() const {
    return m_natural->IsActive();
}

bool SpeechController::UsesNaturalVoice(QStringList* messages) {
    const VoiceSlot slot = m_preferences.voice != 0 ? VoiceSlot::Male : VoiceSlot::Female;
    const std::optional<natural::VoiceChoice> choice = m_library.NaturalChoice(slot);
    if (!choice) {
        return false;
    }
    const NaturalSetup setup = SetUpNaturalVoice(m_library.Natural(), *choice, m_preferences.speed);
    if (!setup.setup) {
        if (!m_saidMissing.contains(setup.missing)) {
            m_saidMissing << setup.missing;
            *messages << setup.missing;
        }
        return false;
    }
    m_naturalVoice = *choice;
    m_naturalSetup = *setup.setup;
    return true;
}

void SpeechController::SpeakNaturally(const QObject* owner, const SpeechSource& source, int offset,
                                      const QString& text, int end) {
    m_long.Clear();
    m_runner->setNextPass({});
    m_runner->stop();
    m_paused = false;
    m_source = source;
    m_passOffset = offset;
    m_words.clear();
    m_wordsBegin = m_wordsEnd = 0;
    m_passReadings = ReadingsOfLoadedPass();
    m_owner = owner;
    m_naturalText = text;
    m_naturalEnd = end;
    m_runBegin = m_runEnd = 0;
    m_runOffset = 0;
    natural::NaturalPassOptions options;
    options.synthesis.setup = m_naturalSetup;
    options.synthesis.outputRate = kOutputSampleRate;
    options.synthesis.level = BuiltInVoiceLevel();
    // One sentence said ahead of the one heard, and one more when a second core is free.
    options.workers = 2;
    options.ahead = 2;
    m_natural->Start(m_source.bytes, m_dictionary.View(), options);
    emit stateChanged();
}

void SpeechController::PlayNaturalUnit(const natural::NaturalUnit& unit,
                                       natural::ByteRange sentence,
                                       std::chrono::steady_clock::time_point onset) {
    const QString mora = QString::fromStdString(unit.mora);
    emit ticked(mora);
    const SpeechSource::Span span = m_source.TextSpan(unit.source.begin, unit.source.end);
    const int begin = m_passOffset + static_cast<int>(span.begin);
    const int end = m_passOffset + static_cast<int>(span.end);
    emit unitTicked(mora, begin, end);
    if (m_owner == nullptr || unit.source.end <= unit.source.begin) {
        return; // the silence around a sentence covers no text
    }
    // The morae of one word follow each other through its reading, as its ticks do.
    if (unit.source.begin != m_runBegin || unit.source.end != m_runEnd) {
        m_runBegin = unit.source.begin;
        m_runEnd = unit.source.end;
        m_runOffset = 0;
    }
    const auto length = static_cast<int>(ToHalfWidthKana(mora.toStdU16String()).size());
    if (sentence.begin != m_wordsBegin || sentence.end != m_wordsEnd || m_words.empty()) {
        m_wordsBegin = sentence.begin;
        m_wordsEnd = sentence.end;
        m_words = WordRanges(
            std::string_view(m_source.bytes).substr(sentence.begin, sentence.end - sentence.begin));
    }
    const auto local = [&](std::size_t byte) {
        return static_cast<std::uint16_t>(std::clamp(byte, sentence.begin, sentence.end) -
                                          sentence.begin);
    };
    const SourceRange word =
        WordAround(m_words, SourceRange{local(unit.source.begin), local(unit.source.end)});
    const SpeechSource::Span wordSpan =
        m_source.TextSpan(sentence.begin + word.begin, sentence.begin + word.end);
    ScheduleHighlight(begin, end, wordSpan, m_runOffset, std::max(length, 1), onset);
    m_runOffset += length;
}

void SpeechController::FinishNatural(std::chrono::steady_clock::time_point end) {
    if (m_owner != nullptr) {
        if (m_cutAt >= 0) {
            emit passCut(m_owner, m_cutAt);
            m_cutAt = -1;
        }
        if (m_preferences.repeat == kRepeatOn) {
            SpeakNaturally(m_owner, SpeechSource(m_source), m_passOffset, m_naturalText,
                           m_naturalEnd);
            return;
        }
        SpeechHighlight none;
        none.owner = m_owner;
        none.onset = end;
        m_schedule.Add(none, end);
    }
    m_paused = false;
    m_owner = nullptr;
    emit stateChanged();
}

void SpeechController::SwitchNaturalVoice(std::size_t sourceBegin) {
    const QObject* owner = m_owner;
    const int position =
        m_passOffset + static_cast<int>(m_source.TextSpan(sourceBegin, sourceBegin).begin);
    QStringList messages;
    if (owner != nullptr && UsesNaturalVoice(&messages)) {
        // The rest of the same bytes, in the other natural voice.
        SpeechSource rest;
        rest.bytes = m_source.bytes.substr(sourceBegin);
        rest.spans.assign(m_source.spans.begin() + static_cast<std::ptrdiff_t>(sourceBegin),
                          m_source.spans.end());
        for (SpeechSource::Span& span : rest.spans) {
            span.begin -= static_cast<std::uint32_t>(position - m_passOffset);
            span.end -= static_cast<std::uint32_t>(position - m_passOffset);
        }
        SpeakNaturally(owner, rest, position, m_naturalText, m_naturalEnd);
        return;
    }
    for (const QString& message : messages) {
        emit notice(message);
    }
    if (owner != nullptr && !m_naturalText.isEmpty() && position < m_naturalEnd) {
        // The samples go on from that sentence to the end of what was being read.
        ReadRangeWithSamples(owner, m_naturalText, position, m_naturalEnd);
        return;
    }
    FinishNatural(std::chrono::steady_clock::now());
}

QStringList SpeechController::Speak(const QObject* owner, const SpeechSource& text,
                                    const QString& wholeText) {
    QStringList missing;
    if (UsesNaturalVoice(&missing)) {
        // The same bytes as the samples read: the first pass's.
        const int end = text.spans.empty() ? 0 : static_cast<int>(text.spans.back().end);
        m_cutAt = HasTextFrom(wholeText, end) ? end : -1;
        SpeakNaturally(owner, text, 0, wholeText, end);
        return missing;
    }
    m_long.Clear();
    m_runner->setNextPass({});
    m_paused = false;
    m_source = text;
    m_passOffset = 0;
    m_words = WordRanges(m_source.bytes);
    AnalyzerMessageCollector sink(m_analyzer);
    ReaderSetup setup(m_dictionary.View(), m_analyzer);
    setup.messages = &sink;
    // Whether the document is in Aozora notation is found in the whole document, not only in the
    // part that is read: its first ruby or note may lie far beyond the cut.
    setup.aozora = ReadsAutomatically() &&
                   (wholeText.isEmpty()
                        ? ReadsAsAozora(m_preferences.aozora, std::string_view(m_source.bytes))
                        : ReadsAsAozora(m_preferences.aozora,
                                        std::u16string_view(
                                            reinterpret_cast<const char16_t*>(wholeText.utf16()),
                                            static_cast<std::size_t>(wholeText.size()))));
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
    m_naturalText = wholeText; // where the natural voice goes on, should F5 choose it
    m_naturalEnd = stop;
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
    return missing + sink.messages;
}

QStringList SpeechController::ReadRange(const QObject* owner, const QString& text, int begin,
                                        int end) {
    QStringList missing;
    if (UsesNaturalVoice(&missing)) {
        // The whole range: the natural voice reads sentence by sentence, with no cut.
        m_cutAt = -1;
        const int from = std::clamp(begin, 0, static_cast<int>(text.size()));
        const int to = std::clamp(end, from, static_cast<int>(text.size()));
        const QString part = text.mid(from, to - from);
        SpeakNaturally(owner, SpeechSourceOf(part.toStdU16String()), from, text, to);
        return missing;
    }
    return missing + ReadRangeWithSamples(owner, text, begin, end);
}

QStringList SpeechController::ReadRangeWithSamples(const QObject* owner, const QString& text,
                                                   int begin, int end) {
    m_paused = false;
    m_cutAt = -1;
    m_naturalText = text;
    m_naturalEnd = end;
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
    if (IsNaturalActive()) {
        m_natural->Stop();
        ClearHighlight(true);
        m_paused = false;
        m_owner = nullptr;
        emit stateChanged();
        return;
    }
    if (m_paused) {
        EndQuietly();
        return;
    }
    StopSpeech(m_session);
    emit stateChanged();
}

void SpeechController::TogglePause() {
    if (IsNaturalActive()) {
        m_paused = !m_paused;
        if (m_paused) {
            m_natural->Pause();
            // The morae handed on after the one being heard are heard after the pause.
            m_schedule.DropFrom(std::chrono::steady_clock::now());
        } else {
            m_natural->Resume();
        }
        emit stateChanged();
        return;
    }
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
    m_natural->Stop();
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

void SpeechController::ViewDeactivated(const QObject* view) {
    if (IsNaturalActive() && view == m_owner && !m_paused) {
        // As the timer stops after one more unit: the sentence is not said on.
        Stop();
        return;
    }
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
        m_natural->Stop();
        m_paused = false;
        m_long.Clear();
        // The timer belonged to the view's window: it ends with it, the stop request stays.
        m_runner->stop();
        m_owner = nullptr;
        emit stateChanged();
    }
}

void SpeechController::Shutdown() {
    m_natural->Stop();
    m_schedule.Clear();
    m_runner->stop();
    m_owner = nullptr;
    m_player.reset();
}

bool SpeechController::IsTimerRunning() const {
    return m_runner->isActive() || (m_natural->IsActive() && !m_natural->IsPaused());
}

bool SpeechController::SwitchToNaturalVoice(const TickResult& tick) {
    const VoiceSlot slot = m_preferences.voice != 0 ? VoiceSlot::Male : VoiceSlot::Female;
    if (m_owner == nullptr || tick.unitLength == 0 || !m_library.NaturalChoice(slot) ||
        m_naturalText.isEmpty()) {
        return false;
    }
    // Only where a sentence of the natural voice would begin: at the first unit of its first
    // word (the units of a word all carry the word's bytes).
    if (tick.unitBegin > 0 &&
        m_session.source[tick.unitBegin - 1] == m_session.source[tick.unitBegin]) {
        return false;
    }
    const std::vector<natural::ByteRange> sentences = natural::SplitChunks(m_source.bytes);
    if (std::none_of(sentences.begin(), sentences.end(),
                     [&](const natural::ByteRange& r) { return r.begin == tick.source.begin; })) {
        return false;
    }
    const int position =
        m_passOffset +
        static_cast<int>(m_source.TextSpan(tick.source.begin, tick.source.begin).begin);
    QStringList messages;
    if (position >= m_naturalEnd || !UsesNaturalVoice(&messages)) {
        for (const QString& message : messages) {
            emit notice(message);
        }
        return false;
    }
    // The sample this tick handed on gives way to the sentence.
    const auto now = std::chrono::steady_clock::now();
    Player().Silence(now - (Player().onsetOf(now) - now));
    m_session.speaking = 0;
    m_session.stopRequest = 0;
    const QObject* owner = m_owner;
    const QString text = m_naturalText;
    const int end = m_naturalEnd;
    const int cutAt = m_cutAt;
    const QString part = text.mid(position, end - position);
    SpeakNaturally(owner, SpeechSourceOf(part.toStdU16String()), position, text, end);
    m_cutAt = cutAt;
    return true;
}

void SpeechController::PlayTick(const TickResult& tick) {
    if (SwitchToNaturalVoice(tick)) {
        return;
    }
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
        // Shown when the sample is heard: the output plays it a fixed latency after its tick.
        ScheduleHighlight(begin, end, wordSpan, tick.unitBegin - first, tick.unitLength,
                          Player().onsetOf(m_runner->tickTime()));
    }
}

void SpeechController::ScheduleHighlight(int unitBegin, int unitEnd,
                                         const SpeechSource::Span& wordSpan, int unitOffset,
                                         int unitLength,
                                         std::chrono::steady_clock::time_point onset) {
    SpeechHighlight highlight;
    highlight.owner = m_owner;
    highlight.unitBegin = unitBegin;
    highlight.unitEnd = unitEnd;
    highlight.wordBegin = m_passOffset + static_cast<int>(wordSpan.begin);
    highlight.wordEnd = m_passOffset + static_cast<int>(wordSpan.end);
    highlight.unitOffset = unitOffset;
    highlight.unitLength = unitLength;
    highlight.onset = onset;
    m_schedule.Add(highlight, onset);
}

void SpeechController::FinishReading() {
    ClearHighlight(false);
    m_long.Clear();
    m_paused = false;
    m_owner = nullptr;
    emit stateChanged();
}

} // namespace yomi6
