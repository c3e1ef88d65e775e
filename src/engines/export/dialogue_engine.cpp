#include "export/dialogue_engine.h"

#include "text/dialogue_spans.h"

#include <algorithm>
#include <vector>

namespace yomi6 {

namespace {

// A run's sound brought to the joined sound's format: its samples to 16 bits when the joined
// sound has them, and to the joined rate, each new sample on the straight line between the two
// samples around it (the last one held at the run's end). Frame f of the run is frame FrameOf(f)
// of the joined sound, and a run of n frames becomes FrameOf(n) frames.
class RunSound {
public:
    RunSound(const SpeechEngine& engine, int rate, SampleBits bits)
        : m_in(engine.SampleRate()), m_out(rate),
          m_widen(bits == SampleBits::Sixteen && engine.Bits() == SampleBits::Eight) {}

    bool Changes() const { return m_in != m_out || m_widen; }
    std::int64_t FrameOf(std::int64_t frame) const {
        return m_in == m_out ? frame : (frame * m_out + m_in / 2) / m_in;
    }
    // The frames handed on so far.
    std::int64_t Made() const { return m_next; }

    // The joined sound's frames of the block (for a run that Changes()) as far as the samples
    // around them are known; valid until the next call.
    const std::vector<std::int16_t>& Convert(const SoundBlock& block) {
        m_made.clear();
        const auto count = static_cast<std::int64_t>(block.count);
        const auto at = [&](std::int64_t i) {
            if (i < m_received) {
                return m_last;
            }
            const auto k = static_cast<std::size_t>(i - m_received);
            return block.sixteen != nullptr ? static_cast<int>(block.sixteen[k])
                   : m_widen                ? (block.eight[k] - 128) * 256
                                            : static_cast<int>(block.eight[k]);
        };
        const std::int64_t known = m_received + count; // samples [0, known) are known
        while (true) {
            const std::int64_t position = m_next * m_in;
            const std::int64_t first = position / m_out;
            const std::int64_t part = position % m_out;
            if (first >= known || (part != 0 && first + 1 >= known)) {
                break;
            }
            const int a = at(first);
            const int b = part != 0 ? at(first + 1) : a;
            m_made.push_back(static_cast<std::int16_t>(a + (b - a) * part / m_out));
            ++m_next;
        }
        if (count > 0) {
            m_last = at(known - 1);
        }
        m_received = known;
        return m_made;
    }

    // The frames left at the run's end, up to FrameOf of its length, the last sample held.
    const std::vector<std::int16_t>& Finish() {
        m_made.clear();
        for (const std::int64_t end = FrameOf(m_received); m_next < end; ++m_next) {
            m_made.push_back(static_cast<std::int16_t>(m_last));
        }
        return m_made;
    }

private:
    std::int64_t m_in;
    std::int64_t m_out;
    bool m_widen;
    std::int64_t m_received = 0; // the run's frames converted so far
    std::int64_t m_next = 0;     // the next frame of the joined sound to make
    int m_last = 0;              // the run's last frame converted (before the first: silence)
    std::vector<std::int16_t> m_made;
};

} // namespace

DialogueEngine::DialogueEngine(std::unique_ptr<SpeechEngine> narrator,
                               std::unique_ptr<SpeechEngine> dialogue)
    : m_narrator(std::move(narrator)), m_dialogue(std::move(dialogue)),
      m_rate(std::max(m_narrator->SampleRate(), m_dialogue->SampleRate())),
      m_bits(m_narrator->Bits() == SampleBits::Sixteen || m_dialogue->Bits() == SampleBits::Sixteen
                 ? SampleBits::Sixteen
                 : SampleBits::Eight) {}

DialogueEngine::DialogueEngine(std::unique_ptr<SpeechEngine> narrator,
                               std::unique_ptr<SpeechEngine> dialogue, int rate)
    : m_narrator(std::move(narrator)), m_dialogue(std::move(dialogue)), m_rate(rate),
      m_bits(SampleBits::Sixteen) {}

EngineCapabilities DialogueEngine::Capabilities() const {
    const EngineCapabilities narrator = m_narrator->Capabilities();
    const EngineCapabilities dialogue = m_dialogue->Capabilities();
    if (narrator.units == dialogue.units && narrator.tickMs == dialogue.tickMs &&
        m_narrator->SampleRate() == m_rate && m_dialogue->SampleRate() == m_rate) {
        return narrator;
    }
    const auto ticks = [](const EngineCapabilities& c) {
        return c.units == UnitKind::Tick || c.withTicks;
    };
    const bool morae = narrator.units == UnitKind::Mora || dialogue.units == UnitKind::Mora;
    return {UnitKind::Mora, 0, morae && (ticks(narrator) || ticks(dialogue))};
}

EngineResult DialogueEngine::Run(const EngineText& text, const EngineSink& sink) {
    EngineResult total;
    const std::size_t to = std::min(text.to, text.text.size());
    const std::size_t from = std::min(text.from, to);
    std::int64_t frames = 0; // the joined sound of the runs before
    for (const VoiceRun& run : VoiceRuns(DialogueSpans(text.text, m_startsInsideLine), from, to)) {
        SpeechEngine& engine = run.dialogue ? *m_dialogue : *m_narrator;
        RunSound sound(engine, m_rate, m_bits);
        const std::int64_t offsetMs = FrameToMs(frames, m_rate);
        const std::int64_t units = total.units;
        std::vector<SpokenUnit> moved;
        bool handed = true;
        // Hands on block (its frames and units the run's own) as the joined sound's.
        const auto handOn = [&](const SoundBlock& block) {
            moved.assign(block.units.begin(), block.units.end());
            for (SpokenUnit& unit : moved) {
                unit.index += units;
                unit.startFrame = sound.FrameOf(unit.startFrame) + frames;
                unit.endFrame = sound.FrameOf(unit.endFrame) + frames;
                unit.startMs += offsetMs;
                unit.endMs += offsetMs;
            }
            SoundBlock joined = block;
            joined.units = moved;
            if (sound.Changes()) {
                joined.startFrame = sound.Made() + frames;
                const std::vector<std::int16_t>& pcm = sound.Convert(block);
                joined.eight = nullptr;
                joined.sixteen = pcm.data();
                joined.count = pcm.size();
            } else {
                joined.startFrame += frames;
            }
            bool stopped = false;
            handed = Hand(joined, sink, stopped);
            return handed;
        };
        EngineSink runSink;
        runSink.onBlock = handOn;
        if (sink.onProgress) {
            runSink.onProgress = [&](std::size_t done, std::size_t) {
                return sink.onProgress(run.from - from + done, to - from);
            };
        }
        {
            const std::lock_guard lock(m_sayingMutex);
            m_saying = &engine;
        }
        if (StoppedNow()) {
            engine.Stop(StopAt::Now);
        }
        EngineResult said = engine.Say(EngineText{text.text, run.from, run.to}, runSink);
        {
            const std::lock_guard lock(m_sayingMutex);
            m_saying = nullptr;
        }
        if (said.status == SpeechStatus::Done && handed && sound.Changes()) {
            const std::vector<std::int16_t>& tail = sound.Finish();
            if (!tail.empty()) {
                bool stopped = false;
                const SoundBlock last{nullptr,
                                      tail.data(),
                                      tail.size(),
                                      frames + sound.Made() -
                                          static_cast<std::int64_t>(tail.size()),
                                      {}};
                handed = Hand(last, sink, stopped);
            }
        }
        frames += sound.Changes() ? sound.Made() : said.frames;
        total.units += said.units;
        if (said.status != SpeechStatus::Done || !handed || StoppedNow()) {
            total.status =
                said.status == SpeechStatus::Failed ? SpeechStatus::Failed : SpeechStatus::Stopped;
            total.error = said.error;
            return total;
        }
    }
    return total;
}

void DialogueEngine::Interrupt() {
    const std::lock_guard lock(m_sayingMutex);
    if (m_saying != nullptr) {
        m_saying->Stop(StopAt::Now);
    }
}

} // namespace yomi6
