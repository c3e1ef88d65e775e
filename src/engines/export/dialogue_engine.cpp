#include "export/dialogue_engine.h"

#include "text/dialogue_spans.h"
#include "wave/pcm_convert.h"

#include <algorithm>
#include <optional>
#include <span>
#include <vector>

namespace yomi6 {

namespace {

// A run's sound brought to the joined sound's format: its samples to 16 bits when the joined
// sound has them, and to the joined rate by the band-limited resampler, as it comes. Frame f of
// the run is frame FrameOf(f) of the joined sound, and a run of n frames becomes FrameOf(n)
// frames.
class RunSound {
public:
    RunSound(const SpeechEngine& engine, int rate, SampleBits bits)
        : m_in(engine.SampleRate()), m_out(rate),
          m_widen(bits == SampleBits::Sixteen && engine.Bits() == SampleBits::Eight) {
        if (m_in != m_out) {
            m_resampler.emplace(static_cast<int>(m_in), static_cast<int>(m_out));
        }
    }

    bool Changes() const { return m_in != m_out || m_widen; }
    std::int64_t FrameOf(std::int64_t frame) const {
        return m_in == m_out ? frame : (frame * m_out + m_in / 2) / m_in;
    }
    // The frames handed on so far.
    std::int64_t Made() const { return m_made; }

    // The joined sound's frames of the block (for a run that Changes()) as far as the resampler
    // has them; valid until the next call.
    std::span<const std::int16_t> Convert(const SoundBlock& block) {
        m_received += static_cast<std::int64_t>(block.count);
        m_wide.resize(block.count);
        for (std::size_t k = 0; k < block.count; ++k) {
            m_wide[k] = block.sixteen != nullptr ? block.sixteen[k]
                        : m_widen ? static_cast<std::int16_t>((block.eight[k] - 128) * 256)
                                  : static_cast<std::int16_t>(block.eight[k]);
        }
        if (!m_resampler) {
            return Handed(m_wide);
        }
        m_float.resize(block.count);
        std::transform(m_wide.begin(), m_wide.end(), m_float.begin(),
                       [](std::int16_t v) { return static_cast<float>(v) / 32768.0F; });
        return Handed(m_resampler->Push(m_float));
    }

    // The frames left at the run's end, up to FrameOf of its length (silence where the
    // resampler gives fewer).
    std::span<const std::int16_t> Finish() {
        if (!m_resampler) {
            return {};
        }
        const std::span<const std::int16_t> rest = m_resampler->Finish();
        m_wide.assign(rest.begin(), rest.end());
        m_wide.resize(
            static_cast<std::size_t>(std::max<std::int64_t>(FrameOf(m_received) - m_made, 0)));
        return Handed(m_wide);
    }

private:
    // frames, no further than FrameOf of what was received.
    std::span<const std::int16_t> Handed(std::span<const std::int16_t> frames) {
        const auto room =
            static_cast<std::size_t>(std::max<std::int64_t>(FrameOf(m_received) - m_made, 0));
        frames = frames.first(std::min(frames.size(), room));
        m_made += static_cast<std::int64_t>(frames.size());
        return frames;
    }

    std::int64_t m_in;
    std::int64_t m_out;
    bool m_widen;
    std::optional<StreamResampler> m_resampler;
    std::int64_t m_received = 0; // the run's frames converted so far
    std::int64_t m_made = 0;     // the joined sound's frames handed on
    std::vector<std::int16_t> m_wide;
    std::vector<float> m_float;
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
        // The run's units on the joined clock, each waiting for the block its sound starts in
        // (the resampler hands its frames on a little after the frames they come of).
        std::vector<SpokenUnit> waiting;
        bool handed = true;
        // Hands on pcm, frames from start of the joined sound, with the units that start
        // within it, or all that wait at the run's end.
        const auto handConverted = [&](std::span<const std::int16_t> pcm, std::int64_t start,
                                       bool end) {
            const std::int64_t stop = start + static_cast<std::int64_t>(pcm.size());
            const auto within = end ? waiting.end()
                                    : std::partition_point(
                                          waiting.begin(), waiting.end(),
                                          [&](const SpokenUnit& u) { return u.startFrame < stop; });
            const SoundBlock joined{
                nullptr, pcm.data(), pcm.size(), start,
                std::span<const SpokenUnit>(waiting.data(),
                                            static_cast<std::size_t>(within - waiting.begin()))};
            bool stopped = false;
            handed = Hand(joined, sink, stopped);
            waiting.erase(waiting.begin(), within);
            return handed;
        };
        // Hands on block (its frames and units the run's own) as the joined sound's.
        const auto handOn = [&](const SoundBlock& block) {
            for (SpokenUnit unit : block.units) {
                unit.index += units;
                unit.startFrame = sound.FrameOf(unit.startFrame) + frames;
                unit.endFrame = sound.FrameOf(unit.endFrame) + frames;
                unit.startMs += offsetMs;
                unit.endMs += offsetMs;
                waiting.push_back(unit);
            }
            if (sound.Changes()) {
                const std::int64_t start = sound.Made() + frames;
                return handConverted(sound.Convert(block), start, false);
            }
            SoundBlock joined = block;
            joined.units = waiting;
            joined.startFrame += frames;
            bool stopped = false;
            handed = Hand(joined, sink, stopped);
            waiting.clear();
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
            const std::int64_t start = sound.Made() + frames;
            handConverted(sound.Finish(), start, true);
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
