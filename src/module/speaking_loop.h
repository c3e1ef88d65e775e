// The module's speaking: messages said one after another on a worker thread, each with its
// events (begin; index marks as they are heard; end, stop or pause), through the sound
// server's simple API. A stop silences the message under way and drops those queued; a pause
// lets it go on to its next index mark and ends it there, for the server to resume from it.
#pragma once

#include "module/module_engines.h"
#include "module/module_protocol.h"
#include "module/pulse_output.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <thread>

namespace yomi6::module {

struct MessagePiece;

// What the voice settings make of a text: the engine's speed, the factor its sound is played
// faster at (above 1 higher, its units lengthened so that the speed stays) and its gain.
struct SoundShape {
    std::int32_t speedMs = 180;
    double pitchFactor = 1;
    double gain = 1;
    // For the natural voice, which makes the pitch itself: the factor in half-tones, and the
    // speed without the lengthening (its sound is played as it comes).
    double halfTones = 0;
    std::int32_t naturalSpeedMs = 180;
};
SoundShape ShapeOf(const VoiceParams& params, double rateScale, double pitchScale,
                   std::int32_t userSpeedMs);

// The quiet before a message's first sound (the closure of a stop it begins with, a voice's
// lead-in), left out but for a few milliseconds so that the message is heard at once, and
// never more than a limit. Fed the engine's blocks in order, their levels before the volume.
class LeadTrim {
public:
    explicit LeadTrim(int rate);
    // How many of block's first samples to leave out.
    std::size_t Skip(std::span<const std::int16_t> block);

private:
    std::size_t m_keep; // the quiet kept before the first sound
    std::size_t m_left; // the quiet that may still be left out
    bool m_done = false;
};

// The text a CHAR, KEY or SOUND_ICON message says (UTF-8).
std::string SpokenKey(std::string_view key);

class SpeakingLoop : public ModuleSpeaker {
public:
    SpeakingLoop(ModuleEngines& engines, ReplyChannel& events,
                 std::function<void(const std::string&)> log);
    ~SpeakingLoop() override;

    void Speak(SpeakRequest request) override;
    void Stop() override;
    void Pause() override;
    void Quit() override;
    std::vector<std::string> VoiceNames() const override { return ModuleVoiceNames(); }
    void UseDevice(const std::string& device) override;
    void Prepare(const VoiceParams& params) override;

private:
    enum class Outcome { Done, Stopped, Paused };

    void Run();
    void Say(const SpeakRequest& request);
    void Event(std::string_view line);
    // atStart: nothing of the message has been played yet (its lead-in quiet is left out).
    Outcome SayText(const MessagePiece& piece, const VoiceParams& params, bool atStart);
    bool Play(const std::int16_t* samples, std::size_t count, int rate);

    ModuleEngines& m_engines;
    ReplyChannel& m_events;
    std::function<void(const std::string&)> m_log;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<SpeakRequest> m_queue;
    bool m_busy = false;
    // A stop came before the message at the front of the queue began: it begins and ends as
    // stopped, so that every message answered "200 OK SPEAKING" has its end event.
    bool m_stopBeforeBegin = false;
    bool m_quit = false;
    SpeechEngine* m_engine = nullptr; // the engine saying now, for Stop
    std::string m_device;

    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_pause{false};
    std::atomic<bool> m_quiet{false}; // no more events: the module is ending
    PulseOutput m_audio;              // the worker's
    std::string m_audioError;
    std::thread m_worker;
};

} // namespace yomi6::module
