#include "playback/speech_pass.h"

#include <algorithm>
#include <memory>

namespace yomi6 {

void RunPass(const SpeechState& state, const std::function<void(const TickResult&)>& onTick) {
    RunPass(state, state, onTick);
}

void RunPass(const SpeechPreferences& preferences, const SpeechTickState& session,
             const std::function<void(const TickResult&)>& onTick) {
    const auto pass = std::make_unique<SpeechState>();
    static_cast<SpeechPreferences&>(*pass) = preferences;
    static_cast<SpeechTickState&>(*pass) = session;
    pass->speaking = 1;
    pass->stopRequest = 0;
    pass->repeat = false;
    pass->playIndex = 0;
    pass->secondByteIndex = -1;
    // The terminator of the longest reading is the last byte of the buffer.
    pass->endIndex =
        std::clamp(pass->endIndex, 0, static_cast<std::int32_t>(kReadingBufferSize) - 1);
    for (;;) {
        const TickResult tick = SpeechTick(*pass);
        onTick(tick);
        if (tick.killTimer) {
            return;
        }
    }
}

} // namespace yomi6
