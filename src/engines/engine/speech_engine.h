// The one interface of a speech engine, for playback and files alike: an engine has its sample
// rate, sample size and capabilities, and its voice, rate and pitch as settings; it says a text
// (source bytes of a whole text) into blocks of sound, each carrying the units that start in
// it, handed to a sink on the thread that says; and it can be stopped from any thread, at once
// or at the next end of a unit or of a sentence.
#pragma once

#include "engine/spoken_unit.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace yomi6 {

// Where a stop takes effect: before anything more is handed over, at the end of the last unit
// handed over, or at the end of the last unit before the next sentence starts.
enum class StopAt { Now, AfterUnit, AfterSentence };

// What the units of an engine are: ticks of the speech timer (each one tick long, the unit it
// passed over) or morae and pauses (each with its own end).
enum class UnitKind { Tick, Mora };

struct EngineCapabilities {
    UnitKind units = UnitKind::Tick;
    std::int64_t tickMs = 0; // the length of a tick, for UnitKind::Tick
    // For UnitKind::Mora: ticks of the sample voices are said among the morae (a sample voice
    // joined with the natural voice), each with its end.
    bool withTicks = false;
};

// The voice, rate and pitch an engine was set up with.
struct EngineSettings {
    std::string voice;          // the voice's name: a slot's value, or the natural voice's
    std::int32_t speedMs = 180; // milliseconds per unit of the sample voices
    double pitchHalfTones = 0;  // below 0: lowered
};

// Source bytes [from, to) of text are said; both are clamped to it, and the units' sources
// count from the text's start.
struct EngineText {
    std::string_view text;
    std::size_t from = 0;
    std::size_t to = static_cast<std::size_t>(-1);
};

struct EngineSink {
    std::function<bool(const SoundBlock&)> onBlock; // false stops the saying; may be empty
    // Now and then, with the source bytes said so far of those asked for; false stops. May be
    // empty.
    std::function<bool(std::size_t done, std::size_t total)> onProgress;
};

enum class SpeechStatus { Done, Stopped, Failed };

struct EngineResult {
    SpeechStatus status = SpeechStatus::Done;
    std::string error;       // why it failed
    std::int64_t units = 0;  // units made (the sample engine: ticks, its ending ones too)
    std::int64_t frames = 0; // sound frames handed over
};

class SpeechEngine {
public:
    SpeechEngine() = default;
    SpeechEngine(const SpeechEngine&) = delete;
    SpeechEngine& operator=(const SpeechEngine&) = delete;
    virtual ~SpeechEngine() = default;

    virtual int SampleRate() const = 0;
    virtual SampleBits Bits() const = 0;
    virtual EngineCapabilities Capabilities() const = 0;
    virtual EngineSettings Settings() const = 0;

    // Says text into sink, block after block, on the calling thread; returns when it is said,
    // stopped or failed. A stop asked for before it starts stops it too.
    EngineResult Say(const EngineText& text, const EngineSink& sink);

    // Stops the saying under way (or the next one) at the boundary at. Safe from any thread; a
    // nearer boundary asked for later wins.
    void Stop(StopAt at);

protected:
    // The engine's own saying: each block goes through Hand, which applies a stop.
    virtual EngineResult Run(const EngineText& text, const EngineSink& sink) = 0;

    // Hands block to sink as far as a stop lets it: the whole block, or its sound up to the
    // stop's boundary and the units before it. False when the saying is to end (the sink
    // refused, or the boundary is reached); stopped then tells whether that was a stop.
    bool Hand(const SoundBlock& block, const EngineSink& sink, bool& stopped);

    // Whether a stop at once was asked for.
    bool StoppedNow() const { return m_stop.load() == static_cast<int>(StopAt::Now); }

    // Called by Stop(StopAt::Now) on the thread that stops, for an engine that waits for its
    // sound: it ends the waiting.
    virtual void Interrupt() {}

private:
    static constexpr int kNoStop = 3; // after every StopAt: the nearest boundary is the least
    std::atomic<int> m_stop{kNoStop};
    std::int64_t m_lastUnitEnd = 0; // the end of the last unit handed over in this saying
    std::int64_t m_frames = 0;      // the frames handed over in this saying
};

} // namespace yomi6
