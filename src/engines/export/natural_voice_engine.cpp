#include "export/natural_voice_engine.h"

#include "export/sentence_marks.h"

#include <algorithm>
#include <vector>

namespace yomi6 {

namespace {

// Hands each piece on as blocks of the engine, on one clock: each block carries the units that
// start in it, the piece's last block the rest.
class BlockHander : public natural_voice::PieceSink {
public:
    using HandFn = std::function<bool(const SoundBlock&)>;

    BlockHander(std::string_view text, std::size_t from, std::size_t to, int rate, HandFn hand)
        : m_sentences(text, from, to), m_from(from), m_to(to), m_rate(rate),
          m_hand(std::move(hand)) {}

    void Units(std::span<const natural_voice::PieceUnit> units) override {
        m_units.clear();
        m_says.clear();
        m_handed = 0;
        m_pieceStart = m_clock;
        for (const natural_voice::PieceUnit& u : units) {
            SpokenUnit& unit = m_units.emplace_back();
            unit.index = m_count++;
            unit.startFrame = m_pieceStart + u.startFrame;
            unit.endFrame = m_pieceStart + u.endFrame;
            unit.startMs = FrameToMs(unit.startFrame, m_rate);
            unit.endMs = FrameToMs(unit.endFrame, m_rate);
            m_says.push_back(u.mora);
            const std::size_t begin = std::clamp(m_from + u.source.begin, m_from, m_to);
            unit.sourceBegin = begin;
            unit.sourceEnd = std::clamp(m_from + u.source.end, begin, m_to);
            unit.startsSentence = !u.mora.empty() && m_sentences.Starts(unit.sourceBegin);
        }
        for (std::size_t i = 0; i < m_units.size(); ++i) {
            m_units[i].says = m_says[i];
        }
    }

    bool Sound(std::span<const std::int16_t> block) override {
        const std::int64_t start = m_clock;
        m_clock += static_cast<std::int64_t>(block.size());
        // The units starting in this block; a piece's units past its sound go with its last.
        std::size_t end = m_handed;
        while (end < m_units.size() && m_units[end].startFrame < m_clock) {
            ++end;
        }
        if (m_clock >= m_pieceStart + m_pieceFrames) {
            end = m_units.size();
        }
        const std::span<const SpokenUnit> units(m_units.data() + m_handed, end - m_handed);
        m_handed = end;
        return m_hand(SoundBlock{nullptr, block.data(), block.size(), start, units});
    }

    // The frames of the piece whose units were given last, once known (the end of its last
    // unit).
    void ExpectFrames() {
        m_pieceFrames = m_units.empty() ? 0 : m_units.back().endFrame - m_pieceStart;
    }

    std::int64_t Units() const { return m_count; }

private:
    SentenceMarks m_sentences;
    std::size_t m_from;
    std::size_t m_to;
    int m_rate;
    HandFn m_hand;
    std::int64_t m_clock = 0;
    std::int64_t m_pieceStart = 0;
    std::int64_t m_pieceFrames = 0;
    std::int64_t m_count = 0;
    std::size_t m_handed = 0;
    std::vector<SpokenUnit> m_units;
    std::vector<std::string> m_says; // the morae the piece's units' says point into
};

} // namespace

NaturalVoiceEngine::NaturalVoiceEngine(std::shared_ptr<const synthesis::HtsVoice> voice,
                                       std::optional<DictionaryView> dic,
                                       natural_voice::VoicePassOptions options,
                                       EngineSettings settings, natural::PassMessage onMessage)
    : m_voice(std::move(voice)), m_dic(dic), m_options(std::move(options)),
      m_settings(std::move(settings)), m_onMessage(std::move(onMessage)) {}

int NaturalVoiceEngine::SampleRate() const {
    return m_options.synthesis.outputRate > 0 ? m_options.synthesis.outputRate
                                              : m_voice->SampleRate();
}

EngineResult NaturalVoiceEngine::Run(const EngineText& text, const EngineSink& sink) {
    EngineResult result;
    const std::size_t to = std::min(text.to, text.text.size());
    const std::size_t from = std::min(text.from, to);
    const std::size_t total = to - from;
    natural_voice::VoicePass pass(std::string(text.text.substr(from, total)), m_dic, m_options,
                                  m_voice);
    {
        const std::lock_guard lock(m_passMutex);
        m_pass = &pass;
    }
    struct Forget {
        NaturalVoiceEngine& engine;
        ~Forget() {
            const std::lock_guard lock(engine.m_passMutex);
            engine.m_pass = nullptr;
        }
    } forget{*this};
    // A stop at once asked for before the pass was noted.
    if (StoppedNow()) {
        pass.Stop();
    }
    if (sink.onProgress && !sink.onProgress(0, total)) {
        result.status = SpeechStatus::Stopped;
        return result;
    }
    bool ended = false;
    BlockHander hander(text.text, from, to, SampleRate(), [&](const SoundBlock& block) {
        bool stopped = false;
        if (!Hand(block, sink, stopped)) {
            ended = true;
            return false;
        }
        return true;
    });
    struct Expecting : natural_voice::PieceSink {
        BlockHander& hander;
        explicit Expecting(BlockHander& h) : hander(h) {}
        void Units(std::span<const natural_voice::PieceUnit> units) override {
            hander.Units(units);
            hander.ExpectFrames();
        }
        bool Sound(std::span<const std::int16_t> block) override { return hander.Sound(block); }
    } expecting(hander);
    std::size_t failedInARow = 0;
    std::size_t saidAny = 0;
    std::string lastError;
    while (std::optional<natural_voice::PieceSaid> said = pass.Next(expecting)) {
        if (ended) {
            break;
        }
        if (!said->error.empty()) {
            lastError = "bytes " + std::to_string(from + said->source.begin) + "-" +
                        std::to_string(from + said->source.end) + " were skipped: " + said->error;
            if (++failedInARow >= natural::kMaxFailuresInARow) {
                result.status = SpeechStatus::Failed;
                result.error = "the natural voice: " + said->error;
                break;
            }
            if (m_onMessage) {
                m_onMessage(lastError);
            }
            continue;
        }
        failedInARow = 0;
        ++saidAny;
        if (sink.onProgress && !sink.onProgress(std::min(said->source.end, total), total)) {
            ended = true;
            break;
        }
    }
    result.units = hander.Units();
    if (result.status != SpeechStatus::Failed && (ended || StoppedNow())) {
        result.status = SpeechStatus::Stopped;
    } else if (result.status == SpeechStatus::Done && saidAny == 0 && !lastError.empty()) {
        result.status = SpeechStatus::Failed;
        result.error = "the natural voice: " + lastError;
    }
    return result;
}

void NaturalVoiceEngine::Interrupt() {
    const std::lock_guard lock(m_passMutex);
    if (m_pass != nullptr) {
        m_pass->Stop();
    }
}

} // namespace yomi6
