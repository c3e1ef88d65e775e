#include "speech_session/natural_session.h"

#include "analysis/analyzer_loader.h"
#include "aozora/aozora_notation.h"
#include "dictionary/dictionary.h"
#include "export/dialogue_engine.h"
#include "export/sample_engine.h"
#include "playback/speech_state.h"
#include "playback/voice_sounds.h"
#include "reading/reading_mode.h"
#include "reading/word_ranges.h"
#include "settings/settings.h"
#include "sound/speech_player.h"
#include "speech_session/live_engine.h"
#include "speech_session/natural_speech.h"
#include "text/dialogue_spans.h"
#include "text/halfwidth_kana.h"
#include "voice/sample_edit.h"
#include "voice/voice_table.h"
#include "wave/sample_pcm.h"

#include <algorithm>
#include <string_view>

namespace yomi6 {

NaturalSession::NaturalSession(SessionServices& services, QObject* parent)
    : UnitSession(services, parent),
      m_natural(std::make_unique<NaturalSpeech>([this]() -> SpeechPlayer& { return Player(); })) {
    connect(m_natural.get(), &NaturalSpeech::unitStarted, this, &NaturalSession::PlayUnit);
    connect(m_natural.get(), &NaturalSpeech::finished, this, &NaturalSession::Finish);
    connect(m_natural.get(), &NaturalSpeech::handedOver, this,
            [this](std::size_t sourceBegin) { emit handedOver(PositionOf(sourceBegin)); });
    connect(m_natural.get(), &NaturalSpeech::chunkSkipped, this, [this](const QString& why) {
        emit notice(QString::fromUtf8("自然な声で読めない文を飛ばしました（%1）").arg(why));
    });
    connect(m_natural.get(), &NaturalSpeech::gaveUp, this, [this](const QString& why) {
        emit notice(QString::fromUtf8("自然な声で読み続けられないため、読み上げを止めました（%1）")
                        .arg(why));
    });
    // F5 and a change of the voice's controls take effect between sentences, never between the
    // pieces of one (a live reading's first sentence is said in two, cut after a particle).
    m_natural->SetGoOn([this](std::size_t sourceBegin) {
        return !m_sentenceStarts.Has(m_source.bytes, sourceBegin) ||
               KeepsVoiceAt(PositionOf(sourceBegin));
    });
}

NaturalSession::~NaturalSession() = default;

int NaturalSession::PositionOf(std::size_t byte) const {
    return m_passOffset + static_cast<int>(m_source.TextSpan(byte, byte).begin);
}

bool NaturalSession::ReadsAozora(const QString& text, std::string_view bytes) const {
    // As the automatic reading decides it, from the whole document.
    const SpeechPreferences& preferences = m_services.preferences;
    if (ResolveReadingMode(preferences.readings, m_services.analyzer) != ReadingMode::Automatic) {
        return false;
    }
    return text.isEmpty() ? ReadsAsAozora(preferences.aozora, bytes)
                          : ReadsAsAozora(preferences.aozora, text.toStdU16String());
}

SessionStart NaturalSession::SpeakFirstPass(const SpeechSource& source, const QString& text) {
    // The same bytes as the samples read: the first pass's.
    const int end = source.spans.empty() ? 0 : static_cast<int>(source.spans.back().end);
    m_aozora = ReadsAozora(text, source.bytes);
    m_startsInsideLine = false;
    Start(source, 0);
    return {{}, end};
}

SessionStart NaturalSession::ReadRange(const QString& text, int begin, int end) {
    // The whole range: the natural voice reads sentence by sentence, with no cut.
    const auto size = static_cast<std::size_t>(text.size());
    const std::size_t last = std::min(static_cast<std::size_t>(std::max(end, 0)), size);
    m_aozora = ReadsAozora(text, {});
    // Neither the block that explains the notation nor the colophon is read.
    const std::u16string whole = text.toStdU16String();
    const std::size_t to = AozoraReadEnd(m_aozora, whole, last);
    const std::size_t from =
        std::min(AozoraReadStart(m_aozora, whole,
                                 std::min(static_cast<std::size_t>(std::max(begin, 0)), last)),
                 to);
    const QString part = text.mid(static_cast<int>(from), static_cast<int>(to - from));
    // A reading from inside a line (the cursor there, or a voice handed over within it) says
    // the rest of it in the lines' voice.
    m_startsInsideLine =
        m_voices &&
        EndsInsideLine(SpeechSourceOf(std::u16string_view(whole).substr(0, from)).bytes);
    Start(SpeechSourceOf(part.toStdU16String()), static_cast<int>(from));
    return {{}, static_cast<int>(last)};
}

void NaturalSession::SetVoice(const natural::EngineSetup& setup, const PauseTable& pauses) {
    m_setup = setup;
    m_pauses = pauses;
    m_voices.reset();
    PrepareVoice(setup);
}

void NaturalSession::SetVoices(const EngineVoice& narrator, const EngineVoice& lines) {
    m_voices.emplace(narrator, lines);
    for (const EngineVoice* voice : {&narrator, &lines}) {
        if (voice->natural) {
            PrepareVoice(voice->setup);
        }
    }
}

std::unique_ptr<SpeechEngine>
NaturalSession::MakeEngine(const EngineVoice& voice, natural::NaturalPassOptions options,
                           std::function<void(const std::string&)> onSkipped) {
    const DictionaryView dictionary = m_services.dictionary.View();
    if (voice.natural) {
        options.synthesis.setup = voice.setup;
        options.pauses = voice.pauses;
        std::shared_ptr<VoiceLoad> load = m_voice.Voice(options);
        return MakeLiveEngine(std::move(options), std::move(load), dictionary,
                              std::move(onSkipped));
    }
    // The slot's samples as the export renders them, ticks on the speed's timer, fitted to the
    // tick as the sample voice's reading fits them.
    ExportRequest request(ReaderSetup(dictionary, m_services.analyzer));
    request.fitting = m_services.settings.fitSamples ? SampleFitting::On : SampleFitting::Off;
    request.voice = FlagOfVoice(voice.slot);
    request.speed = m_services.preferences.speed;
    request.readings = m_services.preferences.readings;
    request.setup.aozora = m_aozora;
    if (m_services.voices != nullptr) {
        request.sounds = VoiceSoundSource(*m_services.voices);
    }
    return std::make_unique<SampleEngine>(request);
}

void NaturalSession::PrepareVoice(const natural::EngineSetup& setup) {
    natural::NaturalPassOptions options;
    options.synthesis.setup = setup;
    m_voice.Prepare(options);
}

void NaturalSession::Start(const SpeechSource& source, int offset) {
    m_paused = false;
    m_source = source;
    m_sentenceStarts.Reset();
    m_passOffset = offset;
    m_words.clear();
    m_wordsBegin = m_wordsEnd = 0;
    NotePassReadings(true); // each chunk opens the analyzer on the engine's worker
    m_runBegin = m_runEnd = 0;
    m_runOffset = 0;
    natural::NaturalPassOptions options;
    options.synthesis.setup = m_setup;
    options.synthesis.outputRate = kOutputSampleRate;
    options.synthesis.level = BuiltInVoiceLevel();
    options.synthesis.analyzerFolder = m_services.analyzer.DictionaryFolder();
    // One engine at a time, two sentences ahead of the one heard: it says a second of speech in
    // a twentieth of a second, and each engine running beside it would hold another 17 MB.
    options.workers = 1;
    options.ahead = 2;
    options.aozora = m_aozora;
    options.pauses = m_pauses;
    if (m_voices) {
        // The lines in 「」 and 『』 by their own voice, at the player's rate.
        m_natural->Start(m_source.bytes, [this,
                                          options](const NaturalSpeech::SkipNotice& onSkipped) {
            std::unique_ptr<SpeechEngine> narrator =
                MakeEngine(m_voices->first, options, onSkipped);
            std::unique_ptr<SpeechEngine> lines = MakeEngine(m_voices->second, options, onSkipped);
            auto engine = std::make_unique<DialogueEngine>(std::move(narrator), std::move(lines),
                                                           kOutputSampleRate);
            engine->StartInsideLine(m_startsInsideLine);
            return engine;
        });
        return;
    }
    m_natural->Start(m_source.bytes, [this, options, dictionary = m_services.dictionary.View()](
                                         NaturalSpeech::SkipNotice onSkipped) {
        return MakeLiveEngine(options, m_voice.Voice(options), dictionary, std::move(onSkipped));
    });
}

void NaturalSession::PlayUnit(const SpokenUnit& unit, std::size_t sentenceBegin,
                              std::size_t sentenceEnd, Clock::time_point onset) {
    // The silence around a sentence covers no text.
    if (unit.sourceEnd <= unit.sourceBegin) {
        emit unitPlaced(SessionUnitOf(unit, {m_source, m_passOffset, m_words}, 0, 0, onset));
        return;
    }
    // The morae of one word follow each other through its reading, as its ticks do.
    if (unit.sourceBegin != m_runBegin || unit.sourceEnd != m_runEnd) {
        m_runBegin = unit.sourceBegin;
        m_runEnd = unit.sourceEnd;
        m_runOffset = 0;
    }
    if (sentenceBegin != m_wordsBegin || sentenceEnd != m_wordsEnd || m_words.empty()) {
        m_wordsBegin = sentenceBegin;
        m_wordsEnd = sentenceEnd;
        m_words = WordRanges(
            std::string_view(m_source.bytes).substr(sentenceBegin, sentenceEnd - sentenceBegin));
    }
    // A sample covers the unit of the reading it is the sample of.
    const std::size_t sampleLength = SampleUnitLength(unit.says);
    const auto length =
        sampleLength > 0
            ? static_cast<int>(sampleLength)
            : static_cast<int>(
                  ToHalfWidthKana(
                      QString::fromUtf8(unit.says.data(), static_cast<qsizetype>(unit.says.size()))
                          .toStdU16String())
                      .size());
    emit unitPlaced(SessionUnitOf(unit, {m_source, m_passOffset, m_words, m_wordsBegin, m_wordsEnd},
                                  m_runOffset, std::max(length, 1), onset));
    m_runOffset += length;
}

void NaturalSession::Finish(Clock::time_point end) {
    emit passEnded();
    if (m_services.preferences.repeat) {
        Start(SpeechSource(m_source), m_passOffset);
        emit restarted();
        return;
    }
    m_paused = false;
    emit finished(end);
}

bool NaturalSession::Stop() {
    if (!m_natural->IsActive()) {
        return false;
    }
    m_natural->Stop();
    m_paused = false;
    return true;
}

void NaturalSession::TogglePause() {
    if (!m_natural->IsActive()) {
        return;
    }
    m_paused = !m_paused;
    if (m_paused) {
        m_natural->Pause();
        // The morae handed on after the one being heard are heard after the pause.
        emit withdrawn(Clock::now());
    } else {
        m_natural->Resume();
    }
}

void NaturalSession::EndQuietly() {
    m_natural->Stop();
    m_paused = false;
}

bool NaturalSession::Deactivated(bool isOwner) {
    if (m_natural->IsActive() && isOwner && !m_paused) {
        // As the timer stops after one more unit: the sentence is not said on.
        return Stop();
    }
    if (m_paused) {
        EndQuietly();
        return true;
    }
    return false;
}

void NaturalSession::Abandon() {
    m_natural->Stop();
    m_paused = false;
}

bool NaturalSession::IsSpeaking() const {
    return m_natural->IsActive();
}

bool NaturalSession::IsRunning() const {
    return m_natural->IsActive() && !m_natural->IsPaused();
}

} // namespace yomi6
