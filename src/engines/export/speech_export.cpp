#include "export/speech_export.h"

#include "aozora/aozora_notation.h"
#include "aozora/aozora_reading.h"
#include "aozora/notation_spans.h"
#include "playback/pass_planner.h"
#include "playback/playback.h"
#include "playback/speech_pass.h"
#include "playback/speech_state.h"
#include "text/cp932.h"

#include <algorithm>
#include <memory>
#include <optional>

namespace yomi6 {

namespace {

constexpr std::int64_t kSamplesPerMs = kRenderRate / 1000;

// Says a failure of the analyzer once, however many passes meet it.
class OnceSink : public IMessageSink {
public:
    explicit OnceSink(IMessageSink* target) : m_target(target) {}
    void ShowMessage(std::string_view text, MessageBoxType type) override {
        if (m_target != nullptr && !m_said) {
            m_said = true;
            m_target->ShowMessage(text, type);
        }
    }

private:
    IMessageSink* m_target;
    bool m_said = false;
};

} // namespace

std::size_t CharBoundaryAtOrAfter(std::string_view text, std::size_t offset) {
    std::size_t i = 0;
    while (i < text.size() && i < offset) {
        const bool pair =
            cp932::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
        i += pair ? 2 : 1;
    }
    return std::min(i, text.size());
}

ExportResult RunSpeechExport(const ExportRequest& request, const ExportCallbacks& callbacks,
                             RenderedSounds* sounds) {
    ExportResult result;
    if (request.speed > kMaxSpeed) {
        result.status = ExportStatus::Failed;
        result.error = "the speed " + std::to_string(request.speed) + " ms is above " +
                       std::to_string(kMaxSpeed) + " ms";
        return result;
    }
    const std::string_view text = request.text;
    // The colophon of a text read as Aozora notation is silent to the text's end.
    const std::size_t to =
        AozoraReadEnd(request.setup.aozora, text, std::min(request.to, text.size()));
    const std::size_t from = std::min(request.from, to);
    const std::int64_t intervalMs = SpeechTimerInterval(request.speed);
    const std::int64_t tickSamples = intervalMs * kSamplesPerMs;

    // Each sample's frames made once (the costly fitting too), for all the passes.
    std::optional<RenderedSounds> own;
    if (sounds == nullptr) {
        sounds = &own.emplace(request.sounds, request.speed, request.fitting);
    }
    StreamMixer mixer(callbacks.onSound ? callbacks.onSound
                                        : [](const unsigned char*, std::size_t) { return true; });
    OnceSink messages(request.setup.messages);
    ReaderSetup setup = request.setup;
    setup.messages = &messages;
    RubyGlossary rubies; // the words the passes have given a ruby
    setup.rubies = &rubies;
    const auto state = std::make_unique<SpeechState>();
    state->voice = VoiceOfFlag(request.voice);
    state->speed = request.speed;
    state->readings = request.readings;

    const NotationSpans spans =
        request.setup.aozora ? NotationSpans(ParseAozoraNotation(text)) : NotationSpans();
    std::size_t next = from;
    bool read = false; // whether a pass has been read
    bool stopped = false;
    do {
        next = std::min(spans.PassStart(next), to);
        std::size_t cut = PassCutLength(text.substr(next, to - next), true);
        // Never into notation that goes on past the cut: the cut moves to where it starts, or
        // past its end when it starts the pass (it is longer than a pass, and silent).
        if (const std::size_t kept = spans.PassEnd(next, next + cut); kept > next + cut) {
            next = std::min(kept, to);
            if (next < to || read) {
                continue;
            }
            cut = 0; // nothing but silent notation: one empty pass, as for an empty range
        } else {
            cut = kept - next;
        }
        read = true;
        const std::string_view rest = text.substr(next, to - next);
        state->speaking = 0;
        StartSpeech(*state, reinterpret_cast<const unsigned char*>(rest.data()), cut, setup);
        const std::size_t offset = next;
        RunPass(*state, [&](const TickResult& t) {
            if (stopped) {
                return;
            }
            ExportTick tick;
            tick.index = result.ticks++;
            tick.timeMs = tick.index * intervalMs;
            tick.sample = t.sample;
            tick.unit = t.unitLength > 0;
            tick.sourceBegin = offset + t.source.begin;
            tick.sourceEnd = offset + t.source.end;
            if (callbacks.onTick && !callbacks.onTick(tick)) {
                stopped = true;
                return;
            }
            if (!t.sample.empty()) {
                const std::span<const std::int16_t> frames = sounds->Frames(t.sample);
                if (!frames.empty() && !mixer.Place(frames, tick.index * tickSamples)) {
                    stopped = true;
                }
            }
        });
        next += PassAdvance(cut, static_cast<std::size_t>(std::max(state->sourceEnd, 0)));
        next = std::min(next, to);
        if (!stopped && callbacks.onProgress && !callbacks.onProgress(next - from, to - from)) {
            stopped = true;
        }
    } while (!stopped && next < to);

    if (stopped || !mixer.Finish((result.ticks - 1) * tickSamples)) {
        result.status = ExportStatus::Stopped;
    }
    result.samples = mixer.Written();
    return result;
}

} // namespace yomi6
