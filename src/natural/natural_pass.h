// A pass of the natural voice: the text cut into chunks, said by the engine on worker threads a
// few chunks ahead of whoever consumes them, and handed out chunk by chunk in text order on one
// clock: each chunk's sound and its units (mora, source bytes, start frame from the start of
// the pass). A player takes chunks as it needs them; an exporter takes them all, with as many
// workers as there are cores. The first chunk is said alone, so that it is ready soonest.
#pragma once

#include "dictionary/dictionary_view.h"
#include "natural/chunk_synthesis.h"
#include "natural/chunking.h"

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace yomi6::natural {

struct PassChunk {
    ByteRange source;
    std::int64_t startFrame = 0;    // where its sound starts in the pass
    std::vector<NaturalUnit> units; // frames from the start of the pass
    std::vector<std::int16_t> pcm;  // mono at the output rate
};

// The most engine runs at once: each notes its three files for the clean-up after a signal, and
// the table of those has room for this many beside an export's own.
inline constexpr unsigned kMaxWorkers = 64;

struct NaturalPassOptions {
    SynthesisOptions synthesis;
    ChunkLimits chunks;
    unsigned workers = 1;  // threads saying chunks at once, at most kMaxWorkers
    std::size_t ahead = 2; // how many chunks may be said before they are taken
    // The silence kept before the first chunk's speech, when it is not
    // synthesis.maxLeadSilenceMs: a reading heard live starts at once, while a rendering keeps
    // the same lead on every chunk.
    std::optional<std::int64_t> firstLeadSilenceMs;
    // The silence kept after a first chunk cut after its particle (ChunkLimits::firstAtParticle):
    // with the next chunk's lead, a short pause within the sentence.
    std::int64_t particleTailSilenceMs = 100;
    // The text is read as Aozora notation (its caller decides that from the whole document, as
    // for the automatic reading): its notation is silent, each ruby's base said as its ruby, each
    // gaiji as its character, and nothing from the colophon on.
    bool aozora = false;
};

// Called from the consuming thread, once for each chunk that could not be said.
using PassMessage = std::function<void(const std::string& message)>;
// Called from a worker thread each time a chunk has been said (or failed): a consumer that
// must not wait, such as the editor's event loop, calls TryNext then.
using PassReady = std::function<void()>;

class NaturalPass {
public:
    // Starts saying text (code page 932 bytes, kept by the pass). dic, when given, must outlive
    // the pass (with the dictionary whose tables it views). No chunk is cut inside a ruby's base
    // or a gaiji.
    NaturalPass(std::string text, std::optional<DictionaryView> dic, NaturalPassOptions options,
                PassMessage onMessage = {}, PassReady onReady = {});
    NaturalPass(const NaturalPass&) = delete;
    NaturalPass& operator=(const NaturalPass&) = delete;
    // Stops the workers; a chunk being said is finished (the engine's time limit bounds it).
    ~NaturalPass();

    // The next chunk in text order, waiting for it when it is not said yet; std::nullopt at the
    // end of the text or after Stop. A chunk the engine failed on is skipped: onMessage is told
    // once, and the next one is returned.
    std::optional<PassChunk> Next();

    // Next without waiting: the next chunk when it is said already (failed ones are skipped as
    // Next skips them), else std::nullopt, with ended telling whether the pass is over (end of
    // the text or Stop) or the chunk is still being said.
    struct Taken {
        std::optional<PassChunk> chunk;
        bool ended = false;
    };
    Taken TryNext();

    // Ends the pass: Next returns std::nullopt from now on, and no new chunk is started.
    void Stop();

    const std::vector<ByteRange>& Chunks() const { return m_chunks; }
    int OutputRate() const { return m_options.synthesis.outputRate; }

private:
    void Work();
    // Takes the next chunk in text order; wait says whether to wait for it when it is not said
    // yet.
    Taken Take(bool wait);

    const std::string m_text;
    const std::optional<DictionaryView> m_dic;
    const NaturalPassOptions m_options;
    const PassMessage m_onMessage;
    const PassReady m_onReady;
    // The byte the first chunk ends at when it was cut after a particle, 0: not cut so. Set by
    // the chunking below, so it is declared before it.
    std::size_t m_particleCut = 0;
    const std::vector<ByteRange> m_chunks;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::size_t m_nextToStart = 0;
    std::size_t m_nextToDeliver = 0;
    std::map<std::size_t, ChunkSound> m_done;
    bool m_stopping = false;
    bool m_firstDone = false; // the first chunk is said: the other workers may begin
    std::int64_t m_clock = 0; // frames handed out so far; only the consumer touches it

    std::vector<std::thread> m_workers;
};

// The message of a chunk that was skipped, as the user reads it (English, for the command line).
std::string SkippedChunkMessage(const ChunkSound& sound);

} // namespace yomi6::natural
