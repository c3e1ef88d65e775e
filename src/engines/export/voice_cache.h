// The natural voice's styles, loaded once for a client (the editor, --speak, the module) and
// kept for every engine it makes: loading takes a few hundred milliseconds, which a saying
// should not wait for each time. The loading starts, on a thread of its own, when the client
// first asks for the voice; the client owns the cache.
#pragma once

#include "natural/natural_pass.h"
#include "synthesis/hts_voice.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace yomi6 {

// One loading of the voice's styles on a thread of its own, waited for by whoever says with
// it. Its end waits for the loading to end.
class VoiceLoad {
public:
    explicit VoiceLoad(std::function<synthesis::HtsVoice::Loaded()> load);
    ~VoiceLoad();
    VoiceLoad(const VoiceLoad&) = delete;
    VoiceLoad& operator=(const VoiceLoad&) = delete;

    // The voice once loaded, or nullptr as soon as stopped() is true: stopped is asked again
    // whenever Wake is called, so a stop that calls it ends the waiting at once.
    const synthesis::HtsVoice::Loaded* Wait(const std::function<bool()>& stopped);
    void Wake();
    bool Ready() const;

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::optional<synthesis::HtsVoice::Loaded> m_loaded;
    std::thread m_thread;
};

// The voice loaded (or being loaded) beside the voice file of the options last asked for. Safe
// from any thread.
class NaturalVoiceCache {
public:
    // Starts loading the voice beside options' voice file, unless it is loaded or being loaded.
    void Prepare(const natural::NaturalPassOptions& options);
    // That voice, loaded or being loaded (never waited for here).
    std::shared_ptr<VoiceLoad> Voice(const natural::NaturalPassOptions& options);

private:
    std::mutex m_mutex;
    std::string m_folder; // the folder of the styles loaded
    std::shared_ptr<VoiceLoad> m_load;
};

} // namespace yomi6
