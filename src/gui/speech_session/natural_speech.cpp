#include "speech_session/natural_speech.h"

#include "export/natural_engine.h"
#include "sound/speech_player.h"
#include "speech_session/engine_feed.h"

#include <algorithm>

namespace yomi6 {

namespace {

using namespace std::chrono_literals;

// The next sentence is placed this long before the one sounding ends: well before the output
// pulls its first frame, even when the event loop runs late on a loaded machine.
constexpr auto kLead = 250ms;
// Sentences said and waiting to be taken: the engine keeps its own few ahead besides.
constexpr std::size_t kKeptAhead = 1;

} // namespace

NaturalSpeech::NaturalSpeech(std::function<SpeechPlayer&()> player, QObject* parent)
    : QObject(parent), m_player(std::move(player)) {
    for (QTimer* timer : {&m_unitTimer, &m_feedTimer, &m_endTimer}) {
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
    }
    connect(&m_unitTimer, &QTimer::timeout, this, &NaturalSpeech::HandOnDueUnits);
    connect(&m_feedTimer, &QTimer::timeout, this, &NaturalSpeech::Feed);
    connect(&m_endTimer, &QTimer::timeout, this, &NaturalSpeech::Finish);
}

NaturalSpeech::~NaturalSpeech() {
    if (m_feed) {
        m_feed->Stop(StopAt::Now);
    }
    for (const std::unique_ptr<EngineFeed>& feed : m_retired) {
        feed->Stop(StopAt::Now);
    }
    m_feed.reset();
    m_retired.clear();
}

void NaturalSpeech::Retire(std::unique_ptr<EngineFeed> feed) {
    std::erase_if(m_retired, [](const std::unique_ptr<EngineFeed>& f) { return f->IsDone(); });
    if (!feed) {
        return;
    }
    // Its engine may be in the middle of a sentence: it is not waited for on the event loop's
    // thread, but when it has ended (or at the end).
    feed->Stop(StopAt::Now);
    m_retired.push_back(std::move(feed));
}

NaturalSpeech::Clock::duration NaturalSpeech::Frames(std::int64_t frames) const {
    return std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(
        frames / m_rate * 1'000'000'000 + frames % m_rate * 1'000'000'000 / m_rate));
}

NaturalSpeech::Clock::time_point NaturalSpeech::AtOnce() const {
    const Clock::time_point now = Clock::now();
    return now - (m_player().OnsetOf(now) - now);
}

void NaturalSpeech::Start(std::string text, EngineMaker make) {
    Clear();
    m_text = std::make_shared<const std::string>(std::move(text));
    m_make = std::move(make);
    m_saidTo = 0;
    SayFrom(0);
}

void NaturalSpeech::SayFrom(std::size_t from) {
    const int generation = m_generation;
    std::unique_ptr<SpeechEngine> engine = m_make([this, generation](const std::string& message) {
        // From the thread that says: told on the event loop's, unless the reading is over.
        QMetaObject::invokeMethod(
            this,
            [this, generation, why = QString::fromStdString(message)] {
                if (generation == m_generation) {
                    emit chunkSkipped(why);
                }
            },
            Qt::QueuedConnection);
    });
    m_rate = std::max(1, engine->SampleRate());
    m_sayOn = false;
    m_feed = std::make_unique<EngineFeed>(std::move(engine), m_text, from, kKeptAhead, [this] {
        QMetaObject::invokeMethod(this, &NaturalSpeech::Feed, Qt::QueuedConnection);
    });
}

void NaturalSpeech::Clear() {
    ++m_generation;
    m_unitTimer.stop();
    m_feedTimer.stop();
    m_endTimer.stop();
    m_units.clear();
    m_sentences.clear();
    m_resume.reset();
    m_held.clear();
    m_end.reset();
    m_paused = false;
    m_sayOn = false;
    Retire(std::move(m_feed));
}

void NaturalSpeech::Stop() {
    if (!m_feed) {
        return;
    }
    m_player().Silence(AtOnce());
    Clear();
}

bool NaturalSpeech::HandsOver(const KeptBlock& block) {
    if (!m_end || !m_goOn || m_goOn(block.SourceBegin())) {
        return false;
    }
    const std::size_t begin = block.SourceBegin();
    // What sounds is heard to its end; the units still to be handed on go with it. Nothing the
    // engine says from here on is played.
    HandOnDueUnits();
    Clear();
    emit handedOver(begin);
    return true;
}

void NaturalSpeech::Feed() {
    if (!m_feed || m_paused || m_endTimer.isActive()) {
        return;
    }
    const Clock::time_point now = Clock::now();
    if (m_end && *m_end - kLead > now) {
        m_feedTimer.start(std::chrono::ceil<std::chrono::milliseconds>(*m_end - kLead - now));
        return;
    }
    // A sentence that was not ready in time starts as soon as the output can play it: a longer
    // pause, never an overlap. So does the first one, with no margin for late ticks.
    const Clock::time_point soonest = m_player().SoonestOnTime().value_or(now);
    if (!m_held.empty()) {
        Sentence held = std::move(m_held.front());
        m_held.pop_front();
        if (!HandsOver(*held.block)) {
            Play(std::move(held), 0, std::max(m_end.value_or(soonest), soonest));
        }
        return;
    }
    EngineFeed::Taken taken = m_feed->TryNext();
    if (!taken.block) {
        if (taken.ended) {
            const EngineResult result = m_feed->Result();
            if (m_sayOn && result.status == SpeechStatus::Stopped) {
                // Stopped by a pause after what it had handed over: on from there.
                Retire(std::move(m_feed));
                SayFrom(m_saidTo);
                return;
            }
            if (result.status == SpeechStatus::Failed) {
                emit gaveUp(QString::fromStdString(NaturalFailure(result.error)));
            }
            // Ends when the last sound has been placed, after its last unit was handed on.
            const Clock::time_point end = m_end.value_or(now);
            m_endTimer.start(
                std::max(std::chrono::ceil<std::chrono::milliseconds>(end - now), 0ms));
        }
        return; // the feed tells when the next sentence is ready
    }
    if (HandsOver(*taken.block)) {
        return;
    }
    m_saidTo = std::max(m_saidTo, taken.block->SourceEnd());
    Play(Sentence{std::move(taken.block), {}}, 0, std::max(m_end.value_or(soonest), soonest));
}

void NaturalSpeech::Play(Sentence sentence, std::size_t first, Clock::time_point at) {
    const KeptBlock& block = *sentence.block;
    const std::int64_t offset =
        first < block.units.size() ? block.units[first].startFrame - block.startFrame : 0;
    sentence.base = at - Frames(offset);
    m_player().PlaySound(block.pcm, static_cast<std::size_t>(std::max<std::int64_t>(offset, 0)),
                         at);
    for (std::size_t k = first; k < block.units.size(); ++k) {
        m_units.push_back({block.units[k], sentence.block,
                           sentence.base + Frames(block.units[k].startFrame - block.startFrame)});
    }
    m_end = sentence.base + Frames(static_cast<std::int64_t>(block.pcm->size()));
    m_sentences.push_back(std::move(sentence));
    while (m_sentences.size() > 2) {
        m_sentences.pop_front();
    }
    ArmUnitTimer();
    Feed();
}

void NaturalSpeech::HandOn(const Pending& pending) {
    emit unitStarted(pending.unit, pending.block->SourceBegin(), pending.block->SourceEnd(),
                     m_player().OnsetOf(pending.at));
}

void NaturalSpeech::HandOnDueUnits() {
    const Clock::time_point now = Clock::now();
    while (!m_units.empty() && m_units.front().at <= now) {
        const Pending pending = std::move(m_units.front());
        m_units.pop_front();
        HandOn(pending);
    }
    ArmUnitTimer();
}

void NaturalSpeech::ArmUnitTimer() {
    if (m_units.empty()) {
        m_unitTimer.stop();
        return;
    }
    const auto wait =
        std::chrono::ceil<std::chrono::milliseconds>(m_units.front().at - Clock::now());
    m_unitTimer.start(std::max<std::chrono::milliseconds>(wait, 0ms));
}

void NaturalSpeech::Finish() {
    // Every unit is due by the end of the sound.
    while (!m_units.empty()) {
        const Pending pending = std::move(m_units.front());
        m_units.pop_front();
        HandOn(pending);
    }
    const Clock::time_point end = m_player().OnsetOf(m_end.value_or(Clock::now()));
    Clear();
    emit finished(end);
}

void NaturalSpeech::Pause() {
    if (!m_feed || m_paused) {
        return;
    }
    HandOnDueUnits();
    const Clock::time_point now = Clock::now();
    // The unit being heard: the last one whose sound has begun. The reading goes on after it.
    std::optional<std::pair<std::size_t, std::size_t>> heard;
    for (std::size_t s = 0; s < m_sentences.size(); ++s) {
        const KeptBlock& block = *m_sentences[s].block;
        for (std::size_t k = 0; k < block.units.size(); ++k) {
            const Clock::time_point at =
                m_sentences[s].base + Frames(block.units[k].startFrame - block.startFrame);
            if (m_player().OnsetOf(at) <= now) {
                heard = {s, k};
            }
        }
    }
    std::optional<std::pair<std::size_t, std::size_t>> next;
    if (!heard) {
        next = m_sentences.empty() ? std::nullopt
                                   : std::optional{std::pair{std::size_t{0}, std::size_t{0}}};
        m_player().Silence(AtOnce());
    } else {
        const Sentence& sentence = m_sentences[heard->first];
        const KeptBlock& block = *sentence.block;
        const SpokenUnit& unit = block.units[heard->second];
        m_player().Silence(sentence.base + Frames(unit.endFrame - block.startFrame));
        if (heard->second + 1 < block.units.size()) {
            next = {heard->first, heard->second + 1};
        } else if (heard->first + 1 < m_sentences.size()) {
            next = {heard->first + 1, 0};
        }
    }
    if (next) {
        m_resume = {m_sentences[next->first], next->second};
        // A sentence placed after it was taken from the engine already: it must not be lost.
        m_held.assign(m_sentences.begin() + static_cast<std::ptrdiff_t>(next->first) + 1,
                      m_sentences.end());
    }
    // The engine says nothing more while paused: what it has handed over is kept, and the
    // reading says on after it when it goes on.
    m_feed->Stop(StopAt::AfterUnit);
    m_sayOn = true;
    m_paused = true;
    m_unitTimer.stop();
    m_feedTimer.stop();
    m_endTimer.stop();
    m_units.clear();
    m_sentences.clear();
    m_end.reset();
}

void NaturalSpeech::Resume() {
    if (!m_feed || !m_paused) {
        return;
    }
    m_paused = false;
    if (m_resume) {
        auto [sentence, first] = std::move(*m_resume);
        m_resume.reset();
        Play(std::move(sentence), first, m_player().SoonestOnTime().value_or(Clock::now()));
    } else {
        Feed();
    }
}

} // namespace yomi6
