#include "speech/playback.h"

#include "speech/voice_table.h"

#include <span>

namespace yomi6 {

namespace {

constexpr auto kBufferSize = static_cast<std::int32_t>(kReadingBufferSize);

bool InBuffer(std::int32_t index) {
    return index >= 0 && index < kBufferSize;
}

void EndPlayback(SpeechState& state) {
    state.stopRequest = 0;
    state.speaking = 0;
}

} // namespace

TickResult SpeechTick(SpeechState& state) {
    // Line ends cost no tick. The loop does not look at the end index; it stops at any other
    // byte, the terminator included (and, should the buffer hold no terminator, at its end).
    while (InBuffer(state.playIndex) &&
           (state.reading[state.playIndex] == 0x0D || state.reading[state.playIndex] == 0x0A)) {
        ++state.playIndex;
    }

    TickResult result;
    if (InBuffer(state.playIndex)) {
        const std::span<const unsigned char> rest(state.reading + state.playIndex,
                                                  state.reading + kBufferSize);
        const KanaUnit unit = LookupUnit(rest, state.voice);
        result.sample = unit.sample;
        state.playIndex += unit ? unit.length : 1;
    } else {
        // An index outside the buffer (never left there by the speak command) reads nothing.
        ++state.playIndex;
    }

    // The end and stop checks come after the unit, so a stop still lets one unit sound.
    if (state.playIndex > state.endIndex) {
        if (state.stopRequest == 1 || state.repeat == kRepeatOff) {
            EndPlayback(state);
            result.killTimer = true;
        } else {
            state.playIndex = 0;
        }
    } else if (state.stopRequest == 1) {
        EndPlayback(state);
        result.killTimer = true;
    }
    return result;
}

void StopSpeech(SpeechState& state) {
    state.stopRequest = 1;
    state.speaking = 0;
}

void StopSpeechOnDeactivation(SpeechState& state) {
    state.speaking = 0;
    state.stopRequest = 1;
}

bool ToggleVoiceOnKey(SpeechState& state, unsigned key, unsigned repeatCount, unsigned flags) {
    if (key != kVoiceToggleKey || repeatCount != kVoiceToggleRepeat || flags != kVoiceToggleFlags) {
        return false;
    }
    state.voice = state.voice != 0 ? 0 : 1;
    return true;
}

bool IsSpeakEnabled(const SpeechState& state) {
    return state.speaking != 1;
}

std::string_view VoiceIndicatorText(std::int32_t voice) {
    return voice != 0 ? kMaleIndicator : kFemaleIndicator;
}

std::int32_t SpeechTimerInterval(std::int32_t speed) {
    return speed < kMinTimerIntervalMs ? kMinTimerIntervalMs : speed;
}

} // namespace yomi6
