#include "natural_voice/voice_pass.h"

#include "analysis/analyzer_loader.h"
#include "analysis/mecab_analyzer.h"
#include "aozora/aozora_reading.h"
#include "natural/natural_pass.h"
#include "natural_voice/pause_fitting.h"
#include "synthesis/synthesizer.h"

namespace yomi6::natural_voice {

struct VoicePass::Speaker {
    AnalyzerLoader reader; // the automatic reading's, loaded at the first piece
    std::unique_ptr<Analyzer> accents;
    std::unique_ptr<synthesis::Synthesizer> synthesizer;
};

namespace {

// Hands a piece's sound on as the synthesizer makes it: its units first, from the times it
// gives before the sound. With pauses, its silences are first brought to their lengths
// (pause_fitting.h), leadMs and trailMs those of the silence before and after its speech.
class Streamer : public synthesis::SynthesisSink {
public:
    struct Fitting {
        const PauseTable* pauses = nullptr; // null: the sound as the engine makes it
        std::int64_t leadMs = -1;
        std::int64_t trailMs = -1;
    };

    Streamer(std::span<const SpokenMora> morae, ByteRange piece, std::string_view text,
             PieceSink& sink, std::stop_source& stop, Fitting fitting)
        : m_morae(morae), m_piece(piece), m_text(text), m_sink(sink), m_stop(stop),
          m_fitting(fitting) {}

    void Timed(std::span<const synthesis::PhonemeTime> phonemes, int sampleRate) override {
        std::vector<PieceUnit> units = UnitsOfPiece(phonemes, m_morae, m_piece, m_text);
        if (m_fitting.pauses != nullptr) {
            const std::vector<std::int64_t> targets =
                SilenceTargets(units, m_text, m_piece, *m_fitting.pauses, sampleRate,
                               m_fitting.leadMs, m_fitting.trailMs);
            m_editor.emplace(FitSilences(units, targets));
        }
        m_sink.Units(units);
    }
    void Sound(std::span<const std::int16_t> block) override {
        if (m_editor) {
            m_edited.clear();
            m_editor->Edit(block, m_edited);
            block = m_edited;
        }
        if (!block.empty() && !m_sink.Sound(block)) {
            m_stop.request_stop();
        }
    }
    // After the last block: the silence still to be put at the end.
    void Finish() {
        if (m_editor && !m_stop.stop_requested()) {
            m_edited.clear();
            m_editor->Finish(m_edited);
            if (!m_edited.empty() && !m_sink.Sound(m_edited)) {
                m_stop.request_stop();
            }
        }
    }

private:
    std::span<const SpokenMora> m_morae;
    ByteRange m_piece;
    std::string_view m_text;
    PieceSink& m_sink;
    std::stop_source& m_stop;
    Fitting m_fitting;
    std::optional<SoundEditor> m_editor;
    std::vector<std::int16_t> m_edited;
};

// Gathers a piece said by a worker.
class Gatherer : public PieceSink {
public:
    Gatherer(std::vector<PieceUnit>& units, std::vector<std::int16_t>& pcm)
        : m_units(units), m_pcm(pcm) {}
    void Units(std::span<const PieceUnit> units) override {
        m_units.assign(units.begin(), units.end());
    }
    bool Sound(std::span<const std::int16_t> block) override {
        m_pcm.insert(m_pcm.end(), block.begin(), block.end());
        return true;
    }

private:
    std::vector<PieceUnit>& m_units;
    std::vector<std::int16_t>& m_pcm;
};

} // namespace

VoicePass::VoicePass(std::string text, std::optional<DictionaryView> dic, VoicePassOptions options,
                     std::shared_ptr<const synthesis::HtsVoice> voice)
    : m_text(std::move(text)), m_dic(dic), m_options(std::move(options)),
      m_voice(std::move(voice)) {
    if (m_options.aozora) {
        m_notation = std::make_shared<const AozoraNotation>(
            WithRecurringRubies(ParseAozoraNotation(m_text), m_text));
    }
    m_pieces = natural::TextChunks(m_text, m_notation.get(), m_options.pieces, &m_particleCut);
    const unsigned workers = m_pieces.size() > 1 ? std::max(1u, m_options.workers) : 0u;
    for (unsigned i = 0; i < workers; ++i) {
        m_workers.emplace_back([this] { Work(); });
    }
}

VoicePass::~VoicePass() {
    Stop();
    for (std::thread& worker : m_workers) {
        worker.join();
    }
}

void VoicePass::Stop() {
    m_stop.request_stop();
    const std::lock_guard lock(m_mutex);
    m_changed.notify_all();
}

std::unique_ptr<VoicePass::Speaker> VoicePass::MakeSpeaker(std::string& error) const {
    auto speaker = std::make_unique<Speaker>();
    speaker->reader.SetConfiguredDictionary(m_options.analyzerFolder);
    speaker->accents = OpenMecabAnalyzer(m_options.accentDictionary, error);
    if (speaker->accents == nullptr) {
        return nullptr;
    }
    speaker->synthesizer = std::make_unique<synthesis::Synthesizer>(m_voice);
    return speaker;
}

synthesis::SynthesisOptions VoicePass::OptionsOf(std::size_t index) const {
    synthesis::SynthesisOptions options = m_options.synthesis;
    if (index == 0) {
        options.maxLeadingSilence = m_options.firstLeadingSilence;
        if (m_particleCut != 0 && m_pieces[0].end == m_particleCut) {
            // A first piece cut after its particle: a short pause before the rest.
            options.maxTrailingSilence = std::chrono::milliseconds(100);
            return options;
        }
    }
    if (m_options.pauses) {
        // The pause after the piece is its trailing silence and the next piece's leading one.
        const std::size_t next =
            index + 1 < m_pieces.size() ? m_pieces[index + 1].begin : m_text.size();
        const std::int64_t lead =
            std::max<std::int64_t>(m_options.synthesis.maxLeadingSilence.count(), 0);
        options.maxTrailingSilence = std::chrono::milliseconds(std::max<std::int64_t>(
            PauseAfterPiece(m_text, m_pieces[index], next, *m_options.pauses) - lead, 0));
    }
    return options;
}

void VoicePass::Say(Speaker& speaker, std::size_t index, Made& made, PieceSink* sink) {
    const ByteRange piece = m_pieces[index];
    SentenceLabels labelled;
    const ReadingSources reading{m_dic ? &*m_dic : nullptr, speaker.reader, m_notation.get()};
    if (!LabelPiece(m_text, piece, reading, *speaker.accents, m_options.rules, labelled)) {
        made.error = "the analyzer failed on it";
        return;
    }
    if (labelled.labels.empty()) {
        return; // nothing said
    }
    Gatherer gatherer(made.units, made.pcm);
    PieceSink& target = sink != nullptr ? *sink : gatherer;
    // Its own stop, which the pass's stop and a sink that wants no more both ask for.
    std::stop_source stop;
    const std::stop_callback follow(m_stop.get_token(), [&stop] { stop.request_stop(); });
    const synthesis::SynthesisOptions options = OptionsOf(index);
    Streamer::Fitting fitting;
    if (m_options.pauses) {
        fitting.pauses = &*m_options.pauses;
        fitting.leadMs = index == 0 ? -1 : options.maxLeadingSilence.count();
        fitting.trailMs = options.maxTrailingSilence.count();
    }
    Streamer streamer(labelled.morae, piece, m_text, target, stop, fitting);
    const synthesis::SynthesisEnd end =
        speaker.synthesizer->Synthesize(labelled.labels, options, stop.get_token(), streamer);
    if (!end.error.empty()) {
        made.error = end.error;
    } else {
        streamer.Finish();
    }
}

void VoicePass::Work() {
    std::string error;
    std::unique_ptr<Speaker> speaker;
    for (;;) {
        std::size_t index = 0;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [&] {
                return m_stop.stop_requested() ||
                       (m_firstHanded && m_nextToStart < m_pieces.size() &&
                        m_nextToStart < m_nextToTake + 1 + m_options.ahead);
            });
            if (m_stop.stop_requested()) {
                return;
            }
            index = m_nextToStart++;
        }
        if (speaker == nullptr && error.empty()) {
            speaker = MakeSpeaker(error);
        }
        Made made;
        if (speaker == nullptr) {
            made.error = error;
        } else {
            Say(*speaker, index, made, nullptr);
        }
        const std::lock_guard lock(m_mutex);
        m_made.emplace(index, std::move(made));
        m_changed.notify_all();
    }
}

std::optional<PieceSaid> VoicePass::Next(PieceSink& sink) {
    std::size_t index = 0;
    {
        const std::lock_guard lock(m_mutex);
        if (m_stop.stop_requested() || m_nextToTake >= m_pieces.size()) {
            return std::nullopt;
        }
        index = m_nextToTake;
    }
    PieceSaid said{m_pieces[index], {}};
    if (index == 0) {
        // The first piece on this thread, handed on as it is made; the workers start once
        // its sound has begun, so that it is ready soonest.
        struct Opening : PieceSink {
            PieceSink& sink;
            VoicePass& pass;
            Opening(PieceSink& s, VoicePass& p) : sink(s), pass(p) {}
            void Units(std::span<const PieceUnit> units) override { sink.Units(units); }
            bool Sound(std::span<const std::int16_t> block) override {
                const bool more = sink.Sound(block);
                pass.LetWorkersStart();
                return more;
            }
        } opening(sink, *this);
        Made made;
        if (m_own == nullptr) {
            m_own = MakeSpeaker(made.error);
        }
        if (m_own != nullptr) {
            Say(*m_own, 0, made, &opening);
        }
        said.error = made.error;
        LetWorkersStart();
    } else {
        Made made;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [&] { return m_stop.stop_requested() || m_made.contains(index); });
            if (m_stop.stop_requested()) {
                return std::nullopt;
            }
            made = std::move(m_made.at(index));
            m_made.erase(index);
        }
        said.error = made.error;
        if (made.error.empty() && !made.units.empty()) {
            sink.Units(made.units);
            if (!made.pcm.empty() && !sink.Sound(made.pcm)) {
                Stop();
            }
        }
    }
    const std::lock_guard lock(m_mutex);
    ++m_nextToTake;
    m_changed.notify_all();
    if (m_stop.stop_requested()) {
        return std::nullopt;
    }
    return said;
}

void VoicePass::LetWorkersStart() {
    const std::lock_guard lock(m_mutex);
    if (!m_firstHanded) {
        m_firstHanded = true;
        m_changed.notify_all();
    }
}

} // namespace yomi6::natural_voice
