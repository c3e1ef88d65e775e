// A text said by the natural voice in our own process: cut into pieces (sentences), each read
// by our reading, labelled and synthesized over the voice loaded once. The first piece is said
// on the calling thread and handed on as its sound is made; the workers, each with its own
// analyzer and synthesizer, say the pieces after it a few ahead of the one being taken. Nothing
// is written to disk and no process is started.
#pragma once

#include "dictionary/dictionary_view.h"
#include "labels/accent_rules.h"
#include "natural/chunking.h"
#include "natural_voice/piece_units.h"
#include "settings/pause_table.h"
#include "synthesis/hts_voice.h"
#include "synthesis/synthesis_options.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

namespace yomi6::natural_voice {

struct VoicePassOptions {
    // Rate, variant, style, output rate, the silences kept and the blocks. The silence kept
    // before the speech of every piece but the first (which keeps firstLeadingSilence).
    synthesis::SynthesisOptions synthesis;
    std::chrono::milliseconds firstLeadingSilence{synthesis::kKeepSilence};
    natural::ChunkLimits pieces;
    unsigned workers = 1;  // threads saying pieces after the first at once
    std::size_t ahead = 2; // pieces said before they are taken
    // The analyzer folder of the automatic reading (as the settings name it) and the
    // dictionary with accents the labels' words come from.
    std::string analyzerFolder;
    std::string accentDictionary;
    bool aozora = false; // the text is read as Aozora notation
    labels::AccentRules rules;
    // The pauses at the marks of the text (pause_fitting.h): each silence within a piece at a
    // mark brought to its length, and the silence between two pieces (the first's trailing and
    // the next one's leading, synthesis.maxLeadingSilence) to the length of what ends the first.
    // None: the engine's own pauses, and the silences the synthesis options keep.
    std::optional<PauseTable> pauses;
};

// What a piece is handed on as: its units (before any of its sound), then its sound.
class PieceSink {
public:
    virtual ~PieceSink() = default;
    virtual void Units(std::span<const PieceUnit> units) = 0;
    // False: nothing more is wanted (the saying ends).
    virtual bool Sound(std::span<const std::int16_t> block) = 0;
};

struct PieceSaid {
    ByteRange source{};
    std::string error; // not empty: the piece could not be said, and why (nothing was handed)
};

class VoicePass {
public:
    // text: code page 932, kept. dic, when given, must outlive the pass.
    VoicePass(std::string text, std::optional<DictionaryView> dic, VoicePassOptions options,
              std::shared_ptr<const synthesis::HtsVoice> voice);
    VoicePass(const VoicePass&) = delete;
    VoicePass& operator=(const VoicePass&) = delete;
    ~VoicePass();

    // Hands the next piece in text order to sink; std::nullopt at the end of the text or after
    // Stop.
    std::optional<PieceSaid> Next(PieceSink& sink);

    // Ends the pass from any thread: the synthesis under way stops within a frame, Next returns
    // std::nullopt from then on.
    void Stop();

    const std::vector<ByteRange>& Pieces() const { return m_pieces; }

private:
    struct Made {
        std::vector<PieceUnit> units;
        std::vector<std::int16_t> pcm;
        std::string error;
    };
    // What one thread says pieces with.
    struct Speaker;

    void Work();
    // Lets the workers begin (once the first piece's sound has begun).
    void LetWorkersStart();
    std::unique_ptr<Speaker> MakeSpeaker(std::string& error) const;
    synthesis::SynthesisOptions OptionsOf(std::size_t index) const;
    // Says piece index with speaker: its units, then its sound block by block to sink (null:
    // gathered into made).
    void Say(Speaker& speaker, std::size_t index, Made& made, PieceSink* sink);

    const std::string m_text;
    const std::optional<DictionaryView> m_dic;
    const VoicePassOptions m_options;
    const std::shared_ptr<const synthesis::HtsVoice> m_voice;
    std::shared_ptr<const AozoraNotation> m_notation;
    std::size_t m_particleCut = 0;
    std::vector<ByteRange> m_pieces;

    std::stop_source m_stop;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::size_t m_nextToStart = 1; // the first is the consumer's own
    std::size_t m_nextToTake = 0;
    bool m_firstHanded = false; // the first piece's sound has begun: the workers may start
    std::map<std::size_t, Made> m_made;
    std::unique_ptr<Speaker> m_own; // the consumer's, for the first piece
    std::vector<std::thread> m_workers;
};

} // namespace yomi6::natural_voice
