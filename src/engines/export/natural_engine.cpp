#include "export/natural_engine.h"

#include "export/sentence_marks.h"

#include <algorithm>
#include <vector>

namespace yomi6 {

namespace {

constexpr std::string_view kFailureHead = "the natural voice: ";

} // namespace

std::string NaturalFailure(const std::string& error) {
    return error.starts_with(kFailureHead) ? error.substr(kFailureHead.size()) : error;
}

NaturalEngine::NaturalEngine(std::optional<DictionaryView> dic, natural::NaturalPassOptions options,
                             natural::PassMessage onMessage)
    : m_dic(dic), m_options(std::move(options)), m_onMessage(std::move(onMessage)) {}

EngineSettings NaturalEngine::Settings() const {
    const natural::EngineSetup& setup = m_options.synthesis.setup;
    return {setup.voiceFile, 0,
            setup.variant == natural::Variant::Lowered ? natural::kLoweredHalfTones : 0};
}

EngineResult NaturalEngine::Run(const EngineText& text, const EngineSink& sink) {
    EngineResult result;
    const int rate = SampleRate();
    const std::size_t to = std::min(text.to, text.text.size());
    const std::size_t from = std::min(text.from, to);
    const std::size_t total = to - from;
    natural::NaturalPass pass(std::string(text.text.substr(from, total)), m_dic, m_options,
                              m_onMessage);
    {
        const std::lock_guard lock(m_passMutex);
        m_pass = &pass;
    }
    struct Forget {
        NaturalEngine& engine;
        ~Forget() {
            const std::lock_guard lock(engine.m_passMutex);
            engine.m_pass = nullptr;
        }
    } forget{*this};
    // A stop at once asked for before the pass was noted.
    if (StoppedNow()) {
        pass.Stop();
    }
    // Told before the first chunk, which may take a while on a loaded machine, so that a
    // cancel is seen from the start.
    if (sink.onProgress && !sink.onProgress(0, total)) {
        result.status = SpeechStatus::Stopped;
        return result;
    }
    SentenceMarks sentences(text.text, from, to);
    std::vector<SpokenUnit> units;
    while (std::optional<natural::PassChunk> chunk = pass.Next()) {
        units.clear();
        for (const natural::NaturalUnit& mora : chunk->units) {
            SpokenUnit& unit = units.emplace_back();
            unit.index = result.units++;
            unit.startFrame = mora.startFrame;
            unit.endFrame = mora.endFrame;
            unit.startMs = FrameToMs(mora.startFrame, rate);
            unit.endMs = FrameToMs(mora.endFrame, rate);
            unit.says = mora.silent ? std::string_view() : std::string_view(mora.mora);
            const std::size_t begin = std::min(mora.source.begin, total);
            unit.sourceBegin = from + begin;
            unit.sourceEnd = from + std::clamp(mora.source.end, begin, total);
            unit.startsSentence = sentences.Starts(unit.sourceBegin);
        }
        bool stopped = false;
        if (!Hand(
                SoundBlock{nullptr, chunk->pcm.data(), chunk->pcm.size(), chunk->startFrame, units},
                sink, stopped)) {
            pass.Stop();
            result.status = SpeechStatus::Stopped;
            return result;
        }
        const std::size_t done = std::min(chunk->source.end, total);
        if (sink.onProgress && !sink.onProgress(done, total)) {
            result.status = SpeechStatus::Stopped;
            return result;
        }
    }
    if (StoppedNow()) {
        result.status = SpeechStatus::Stopped;
    } else if (std::string failure = pass.Failure(); !failure.empty()) {
        result.status = SpeechStatus::Failed;
        result.error = std::string(kFailureHead) + failure;
    }
    return result;
}

void NaturalEngine::Interrupt() {
    const std::lock_guard lock(m_passMutex);
    if (m_pass != nullptr) {
        m_pass->Stop();
    }
}

} // namespace yomi6
