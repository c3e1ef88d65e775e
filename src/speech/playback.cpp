#include "speech/playback.h"

#include "speech/voice_table.h"
#include "text/cp932.h"

#include <algorithm>
#include <span>

namespace yomi6 {

namespace {

constexpr auto kBufferSize = static_cast<std::int32_t>(kReadingBufferSize);

bool InBuffer(std::int32_t index) {
    return index >= 0 && index < kBufferSize;
}

// The source bytes of reading bytes [begin, begin + length): from the first byte's start to the
// furthest end among them.
SourceRange UnitSource(const SpeechState& state, std::int32_t begin, std::int32_t length) {
    SourceRange range = state.source[begin];
    for (std::int32_t i = 1; i < length; ++i) {
        range.end = std::max(range.end, state.source[begin + i].end);
    }
    return range;
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
    result.unitBegin = state.playIndex;
    if (InBuffer(state.playIndex)) {
        const std::span<const unsigned char> rest(state.reading + state.playIndex,
                                                  state.reading + kBufferSize);
        // The bytes of a two-byte character copied into the reading (a kanji the dictionary
        // lacks) are a silent tick each: its lead byte starts no unit, and its second byte is
        // not looked up, so that a second byte such as 0xBF is never heard as a kana.
        const bool secondByte = state.playIndex == state.secondByteIndex;
        const KanaUnit unit = secondByte ? KanaUnit{} : LookupUnit(rest, state.voice);
        if (!secondByte && cp932::IsLeadByte(rest[0]) && state.playIndex + 1 < state.endIndex) {
            state.secondByteIndex = state.playIndex + 1;
        }
        result.sample = unit.sample;
        const std::int32_t length = unit ? unit.length : 1;
        if (state.playIndex < state.endIndex) {
            result.unitLength = std::min(length, state.endIndex - state.playIndex);
            result.source = UnitSource(state, state.playIndex, result.unitLength);
        } else {
            // The tick over the terminator: no unit, an empty range where the reading ended.
            const auto end = static_cast<std::uint16_t>(std::max(state.sourceEnd, 0));
            result.source = {end, end};
        }
        state.playIndex += length;
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
            state.secondByteIndex = -1;
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
