// One chunk of text said by the engine: its sound at the output rate, levelled to the sample
// voices, and its morae with their source bytes and times.
#pragma once

#include "dictionary/dictionary_view.h"
#include "natural/alignment.h"
#include "natural/engine_setup.h"
#include "natural/process_runner.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace yomi6::natural {

// A unit of a natural pass: one mora or pause, with the source bytes it was read from and
// where it starts in the pass's sound.
struct NaturalUnit {
    std::string mora;            // katakana in UTF-8; "" for a pause or silence
    ByteRange source;            // source bytes of the text
    std::int64_t startFrame = 0; // output frames from the start of the pass
    std::int64_t endFrame = 0;
    bool silent = false;
};

struct ChunkSound {
    ByteRange source;
    std::vector<NaturalUnit> units; // start frames counted from the chunk's first frame
    std::vector<std::int16_t> pcm;  // mono at the output rate
    std::string error;              // not empty: the chunk could not be said, and why
    bool timedOut = false;          // the engine ran past its time limit (error says so)
};

struct SynthesisOptions {
    EngineSetup setup;
    int outputRate = 16000;
    double level = 0;                           // voiced RMS to level to; 0: as it comes
    std::chrono::milliseconds timeLimit{30000}; // per chunk
    // The engine's silence before and after a chunk is cut to these lengths.
    std::int64_t maxLeadSilenceMs = 60;
    std::int64_t maxTailSilenceMs = 300;
    // The analyzer folder that the automatic reading reads with, as the run's settings name it
    // ("" for none; $YOMI6_MECAB_DIC still wins, BuildEngineText).
    std::string analyzerFolder;
    // The Aozora notation of the whole text, when it is read as such (BuildEngineText).
    std::shared_ptr<const AozoraNotation> notation;
};

// The most read of the engine's files for one chunk: many times what the longest chunk's sound
// (a minute or two at 48000 Hz) and trace take. A larger file is refused, never read whole.
inline constexpr std::size_t kMaxEngineSoundBytes = 64u << 20;
inline constexpr std::size_t kMaxEngineTraceBytes = 16u << 20;

// The silence kept between two engine runs of one chunk (SplitEngineText): with the lead of
// the next, a pause as at a comma.
inline constexpr std::int64_t kPartLeadMs = 60;
inline constexpr std::int64_t kPartTailMs = 150;

// Says the chunk of text (code page 932): its engine text (BuildEngineText), in as many engine
// runs as SplitEngineText cuts it into, one after the other. The engine runs as a process in a
// private folder removed afterwards; its failure (could not start, crash, time limit, a sound or
// trace that is unreadable, not a regular file, too large, or timed past the sound's end) is the
// error of the result, never an exception or a hang. When cancel is given and turns true, the
// engine is stopped and the chunk fails. A chunk with nothing the
// engine can say (blanks, signs it has no sound for) gives no units, no sound and no error. The
// silence before and after the speech is cut to the options' lengths; unit times are label times at
// the output rate less what was cut before.
ChunkSound SynthesizeChunk(std::string_view text, ByteRange chunk, const DictionaryView* dic,
                           const SynthesisOptions& options,
                           const std::atomic<bool>* cancel = nullptr);

// The frame at the output rate of a label time (100 ns units), rounded to the nearest.
std::int64_t LabelTimeToFrame(std::int64_t time, int outputRate);

} // namespace yomi6::natural
