// A pass of the natural voice: the text cut into chunks, said by the engine on worker threads a
// few chunks ahead of whoever consumes them, and handed out chunk by chunk in text order on one
// clock: each chunk's sound and its units (mora, source bytes, start frame from the start of
// the pass). A player takes chunks as it needs them; an exporter takes them all, with as many
// workers as there are cores. The first chunk is said alone, so that it is ready soonest.
#pragma once

#include "dictionary/dictionary_view.h"
#include "natural/chunk_synthesis.h"
#include "natural/chunking.h"
#include "settings/pause_table.h"

#include <atomic>
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

// The most engine runs at once: each notes its folder and three files for the clean-up after a
// signal, and the table of those has room for this many beside an export's own.
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
    // The pauses at the marks of the text, for the voice said in our own process
    // (natural_voice::VoicePassOptions::pauses); none: the engine's own.
    std::optional<PauseTable> pauses;
};

// A pass stops when this many chunks in a row could not be said: failures that repeat from one
// chunk to the next have one cause (the voice file, the folder for the engine's files), which is
// then said once instead of for every chunk of the text.
inline constexpr std::size_t kMaxFailuresInARow = 3;
// A pass stops when the engine has run past its time limit on this many chunks: each costs the
// whole limit, and an engine that hangs once mostly hangs again.
inline constexpr int kMaxTimeOuts = 3;

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
    // Stops the workers and the engine runs they are waiting for.
    ~NaturalPass();

    // The next chunk in text order, waiting for it when it is not said yet; std::nullopt at the
    // end of the text, after Stop, or when the pass has given up (Failure). A chunk the engine
    // failed on is skipped: onMessage is told once, when a later chunk is said or the text ends
    // after one was said, and the next one is returned. kMaxFailuresInARow failed chunks in a
    // row, a text of which no chunk could be said, or kMaxTimeOuts time-outs end the pass
    // instead, with Failure set and the failed chunks not told.
    std::optional<PassChunk> Next();

    // Next without waiting: the next chunk when it is said already (failed ones are skipped as
    // Next skips them), else std::nullopt, with ended telling whether the pass is over (end of
    // the text or Stop) or the chunk is still being said.
    struct Taken {
        std::optional<PassChunk> chunk;
        bool ended = false;
    };
    Taken TryNext();

    // Ends the pass: Next returns std::nullopt from now on, no new chunk is started and the
    // engine runs under way are stopped.
    void Stop();

    // Why the pass gave up, one line for the user (English); "" while it has not.
    std::string Failure() const;

    const std::vector<ByteRange>& Chunks() const { return m_chunks; }
    int OutputRate() const { return m_options.synthesis.outputRate; }

private:
    void Work();
    // Takes the next chunk in text order; wait says whether to wait for it when it is not said
    // yet.
    Taken Take(bool wait);
    // Ends the pass with why as its Failure (the first reason given stays).
    void GiveUp(const std::string& why);
    void GiveUpLocked(const std::string& why);
    // Tells onMessage of each failed chunk held back, and forgets them.
    void TellFailures();
    // The Failure of the failed chunks held back.
    std::string FailuresMessage() const;

    const std::string m_text;
    const std::optional<DictionaryView> m_dic;
    const NaturalPassOptions m_options;
    const PassMessage m_onMessage;
    const PassReady m_onReady;
    // The byte the first chunk ends at when it was cut after a particle, 0: not cut so. Set by
    // the chunking below, so it is declared before it.
    std::size_t m_particleCut = 0;
    const std::vector<ByteRange> m_chunks;

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::atomic<bool> m_cancel{false}; // set with m_stopping: the running engines stop
    std::string m_failure;
    int m_timeOuts = 0;
    std::size_t m_nextToStart = 0;
    std::size_t m_nextToDeliver = 0;
    std::map<std::size_t, ChunkSound> m_done;
    bool m_stopping = false;
    bool m_firstDone = false; // the first chunk is said: the other workers may begin
    std::int64_t m_clock = 0; // frames handed out so far; only the consumer touches it
    // Only the consumer touches these too: the failed chunks not told yet, and how many chunks
    // were handed out.
    std::vector<ChunkSound> m_failed;
    std::size_t m_handedOut = 0;

    std::vector<std::thread> m_workers;
};

// The chunks of text: to the colophon of a text read as Aozora notation (notation given), none
// cut inside a ruby's base or a gaiji, whose reading is the whole.
std::vector<ByteRange> TextChunks(std::string_view text, const AozoraNotation* notation,
                                  const ChunkLimits& limits, std::size_t* particleCut = nullptr);

// The message of a chunk that was skipped, as the user reads it (English, for the command line).
std::string SkippedChunkMessage(const ChunkSound& sound);

} // namespace yomi6::natural
