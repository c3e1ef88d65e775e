#include "speech_session/natural_speech.h"

#include "sound/speech_player.h"

#include <algorithm>

namespace yomi6 {

namespace {

using namespace std::chrono_literals;

// The next sentence is placed this long before the one sounding ends: well before the output
// pulls its first frame, even when the event loop runs late on a loaded machine.
constexpr auto kLead = 250ms;
// The silence kept before the first sound of a reading: a few milliseconds of the engine's own
// onset, not the pause that separates sentences.
constexpr std::int64_t kStartLeadMs = 15;

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
    Retire(std::move(m_pass));
    for (Retired& r : m_retired) {
        r.thread.join();
    }
}

void NaturalSpeech::Retire(std::unique_ptr<natural::NaturalPass> pass) {
    std::erase_if(m_retired, [](Retired& r) {
        if (!r.done->load()) {
            return false;
        }
        r.thread.join();
        return true;
    });
    if (!pass) {
        return;
    }
    // Its destructor waits for the sentence being said: never on the event loop's thread.
    pass->Stop();
    auto done = std::make_shared<std::atomic<bool>>(false);
    std::thread thread([p = std::move(pass), done]() mutable {
        p.reset();
        done->store(true);
    });
    m_retired.push_back({std::move(thread), std::move(done)});
}

NaturalSpeech::Clock::duration NaturalSpeech::Frames(std::int64_t frames) const {
    return std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(
        frames / m_rate * 1'000'000'000 + frames % m_rate * 1'000'000'000 / m_rate));
}

NaturalSpeech::Clock::time_point NaturalSpeech::AtOnce() const {
    const Clock::time_point now = Clock::now();
    return now - (m_player().OnsetOf(now) - now);
}

void NaturalSpeech::Start(std::string text, std::optional<DictionaryView> dic,
                          natural::NaturalPassOptions options) {
    Clear();
    m_rate = std::max(1, options.synthesis.outputRate);
    // Heard live, the reading starts at its first voiced sound, after the engine has said no
    // more than its first word.
    options.firstLeadSilenceMs = kStartLeadMs;
    options.chunks.firstAtParticle = true;
    m_pass = std::make_unique<natural::NaturalPass>(
        std::move(text), dic, std::move(options),
        [this](const std::string& message) { emit chunkSkipped(QString::fromStdString(message)); },
        [this] {
            // From a worker: the sentence is taken on the event loop's thread.
            QMetaObject::invokeMethod(this, &NaturalSpeech::Feed, Qt::QueuedConnection);
        });
    Feed();
}

void NaturalSpeech::Clear() {
    m_unitTimer.stop();
    m_feedTimer.stop();
    m_endTimer.stop();
    m_units.clear();
    m_sentences.clear();
    m_resume.reset();
    m_held.clear();
    m_end.reset();
    m_paused = false;
    m_passEnded = false;
    Retire(std::move(m_pass));
}

void NaturalSpeech::Stop() {
    if (!m_pass) {
        return;
    }
    m_player().Silence(AtOnce());
    Clear();
}

void NaturalSpeech::Feed() {
    if (!m_pass || m_paused || m_endTimer.isActive()) {
        return;
    }
    const Clock::time_point now = Clock::now();
    if (m_end && *m_end - kLead > now) {
        m_feedTimer.start(std::chrono::ceil<std::chrono::milliseconds>(*m_end - kLead - now));
        return;
    }
    if (!m_held.empty()) {
        Sentence held = std::move(m_held.front());
        m_held.pop_front();
        if (m_end && m_goOn && !m_goOn(held.chunk->source.begin)) {
            const std::size_t begin = held.chunk->source.begin;
            HandOnDueUnits();
            Clear();
            emit handedOver(begin);
            return;
        }
        const Clock::time_point soonest = m_player().SoonestOnTime().value_or(now);
        Play(std::move(held), 0, std::max(m_end.value_or(soonest), soonest));
        return;
    }
    // chunkSkipped may be emitted in here; its receivers must not end the reading from it.
    natural::NaturalPass::Taken taken = m_pass->TryNext();
    if (!taken.chunk) {
        if (taken.ended) {
            if (const std::string failure = m_pass->Failure(); !failure.empty()) {
                emit gaveUp(QString::fromStdString(failure));
            }
            // Ends when the last sound has been placed, after its last unit was handed on.
            m_passEnded = true;
            const Clock::time_point end = m_end.value_or(now);
            m_endTimer.start(
                std::max(std::chrono::ceil<std::chrono::milliseconds>(end - now), 0ms));
        }
        return; // the pass tells when the next sentence is ready
    }
    if (m_end && m_goOn && !m_goOn(taken.chunk->source.begin)) {
        const std::size_t begin = taken.chunk->source.begin;
        // What sounds is heard to its end; the units still to be handed on go with it.
        HandOnDueUnits();
        Clear();
        emit handedOver(begin);
        return;
    }
    auto pcm = std::make_shared<const std::vector<std::int16_t>>(std::move(taken.chunk->pcm));
    Sentence sentence{
        std::make_shared<const natural::PassChunk>(std::move(*taken.chunk)), std::move(pcm), {}};
    // A sentence that was not ready in time starts as soon as the output can play it: a longer
    // pause, never an overlap. So does the first one, with no margin for late ticks.
    const Clock::time_point soonest = m_player().SoonestOnTime().value_or(now);
    Play(std::move(sentence), 0, std::max(m_end.value_or(soonest), soonest));
}

void NaturalSpeech::Play(Sentence sentence, std::size_t first, Clock::time_point at) {
    const natural::PassChunk& chunk = *sentence.chunk;
    const std::int64_t offset =
        first < chunk.units.size() ? chunk.units[first].startFrame - chunk.startFrame : 0;
    sentence.base = at - Frames(offset);
    m_player().PlaySound(sentence.pcm, static_cast<std::size_t>(std::max<std::int64_t>(offset, 0)),
                         at);
    for (std::size_t k = first; k < chunk.units.size(); ++k) {
        m_units.push_back({chunk.units[k], chunk.source,
                           sentence.base + Frames(chunk.units[k].startFrame - chunk.startFrame)});
    }
    m_end = sentence.base + Frames(static_cast<std::int64_t>(sentence.pcm->size()));
    m_sentences.push_back(std::move(sentence));
    while (m_sentences.size() > 2) {
        m_sentences.pop_front();
    }
    ArmUnitTimer();
    Feed();
}

void NaturalSpeech::HandOnDueUnits() {
    const Clock::time_point now = Clock::now();
    while (!m_units.empty() && m_units.front().at <= now) {
        const Pending pending = std::move(m_units.front());
        m_units.pop_front();
        emit unitStarted(pending.unit, pending.sentence, m_player().OnsetOf(pending.at));
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
        emit unitStarted(pending.unit, pending.sentence, m_player().OnsetOf(pending.at));
    }
    const Clock::time_point end = m_player().OnsetOf(m_end.value_or(Clock::now()));
    Clear();
    emit finished(end);
}

void NaturalSpeech::Pause() {
    if (!m_pass || m_paused) {
        return;
    }
    HandOnDueUnits();
    const Clock::time_point now = Clock::now();
    // The unit being heard: the last one whose sound has begun. The reading goes on after it.
    std::optional<std::pair<std::size_t, std::size_t>> heard;
    for (std::size_t s = 0; s < m_sentences.size(); ++s) {
        const natural::PassChunk& chunk = *m_sentences[s].chunk;
        for (std::size_t k = 0; k < chunk.units.size(); ++k) {
            const Clock::time_point at =
                m_sentences[s].base + Frames(chunk.units[k].startFrame - chunk.startFrame);
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
        const natural::NaturalUnit& unit = sentence.chunk->units[heard->second];
        m_player().Silence(sentence.base + Frames(unit.endFrame - sentence.chunk->startFrame));
        if (heard->second + 1 < sentence.chunk->units.size()) {
            next = {heard->first, heard->second + 1};
        } else if (heard->first + 1 < m_sentences.size()) {
            next = {heard->first + 1, 0};
        }
    }
    if (next) {
        m_resume = {m_sentences[next->first], next->second};
        // A sentence placed after it was taken from the pass already: it must not be lost.
        m_held.assign(m_sentences.begin() + static_cast<std::ptrdiff_t>(next->first) + 1,
                      m_sentences.end());
    }
    m_paused = true;
    m_unitTimer.stop();
    m_feedTimer.stop();
    m_endTimer.stop();
    m_units.clear();
    m_sentences.clear();
    m_end.reset();
}

void NaturalSpeech::Resume() {
    if (!m_pass || !m_paused) {
        return;
    }
    m_paused = false;
    m_passEnded = false;
    if (m_resume) {
        auto [sentence, first] = std::move(*m_resume);
        m_resume.reset();
        Play(std::move(sentence), first, m_player().SoonestOnTime().value_or(Clock::now()));
    } else {
        Feed();
    }
}

} // namespace yomi6
