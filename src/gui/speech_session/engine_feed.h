// One saying of a speech engine on a thread of its own, for a consumer that must never wait for
// it (the editor's event loop): the blocks the engine hands over are kept, sound and units, until
// the consumer takes them, and the engine waits while `ahead` of them are not taken yet.
#pragma once

#include "engine/speech_engine.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace yomi6 {

// A block of 16-bit sound as the engine handed it over, kept with its units. Not copyable: the
// units' says point into its own strings.
struct KeptBlock {
    KeptBlock() = default;
    KeptBlock(const KeptBlock&) = delete;
    KeptBlock& operator=(const KeptBlock&) = delete;

    std::shared_ptr<const std::vector<std::int16_t>> pcm;
    std::int64_t startFrame = 0;
    std::vector<SpokenUnit> units;
    std::vector<std::string> says; // what units' says point to

    // Source bytes from the first byte of its units to the end of the last (0, 0 without any).
    std::size_t SourceBegin() const;
    std::size_t SourceEnd() const;
};

class EngineFeed {
public:
    // Says source bytes [from, end) of text with engine.
    // onReady is called from the saying thread after each block and once at the end.
    EngineFeed(std::unique_ptr<SpeechEngine> engine, std::shared_ptr<const std::string> text,
               std::size_t from, std::size_t ahead, std::function<void()> onReady);
    // Stops the saying at once and waits for its thread.
    ~EngineFeed();
    EngineFeed(const EngineFeed&) = delete;
    EngineFeed& operator=(const EngineFeed&) = delete;

    struct Taken {
        std::shared_ptr<const KeptBlock> block; // none yet, or none more
        bool ended = false;                     // no block is kept and the saying is over
    };
    // The oldest block not taken yet, without waiting.
    Taken TryNext();

    // Stops the engine at the boundary at. A block it is handing over while its consumer has
    // no room is kept all the same (at most one more), unless the stop is at once.
    void Stop(StopAt at);

    // How the saying ended; meaningful once TryNext tells it ended.
    EngineResult Result() const;
    // The saying thread has returned: destroying the feed will not wait.
    bool IsDone() const;

private:
    bool Keep(const SoundBlock& block);

    std::unique_ptr<SpeechEngine> m_engine;
    std::shared_ptr<const std::string> m_text;
    const std::size_t m_ahead;
    std::function<void()> m_onReady;

    mutable std::mutex m_mutex;
    std::condition_variable m_room;
    std::deque<std::shared_ptr<const KeptBlock>> m_blocks;
    bool m_stopNow = false;
    bool m_draining = false; // a stop at a boundary: what the engine still hands over is kept
    bool m_ended = false;
    EngineResult m_result;
    std::thread m_thread; // last: started once everything above is set
};

} // namespace yomi6
