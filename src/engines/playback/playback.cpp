#include "playback/playback.h"

#include "text/cp932.h"
#include "voice/voice_table.h"

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
SourceRange UnitSource(const SpeechTickState& session, std::int32_t begin, std::int32_t length) {
    SourceRange range = session.source[begin];
    for (std::int32_t i = 1; i < length; ++i) {
        range.end = std::max(range.end, session.source[begin + i].end);
    }
    return range;
}

void EndPlayback(SpeechTickState& session) {
    session.stopRequest = 0;
    session.speaking = 0;
}

} // namespace

TickResult SpeechTick(const SpeechPreferences& preferences, SpeechTickState& session) {
    // Line ends cost no tick. The loop does not look at the end index; it stops at any other
    // byte, the terminator included (and, should the buffer hold no terminator, at its end).
    while (InBuffer(session.playIndex) && (session.reading[session.playIndex] == 0x0D ||
                                           session.reading[session.playIndex] == 0x0A)) {
        ++session.playIndex;
    }

    TickResult result;
    result.unitBegin = session.playIndex;
    if (InBuffer(session.playIndex)) {
        const std::span<const unsigned char> rest(session.reading + session.playIndex,
                                                  session.reading + kBufferSize);
        // The bytes of a two-byte character copied into the reading (a kanji the dictionary
        // lacks) are a silent tick each: its lead byte starts no unit, and its second byte is
        // not looked up, so that a second byte such as 0xBF is never heard as a kana.
        const bool secondByte = session.playIndex == session.secondByteIndex;
        const KanaUnit unit = secondByte ? KanaUnit{} : LookupUnit(rest, preferences.voice);
        if (!secondByte && cp932::IsLeadByte(rest[0]) && session.playIndex + 1 < session.endIndex) {
            session.secondByteIndex = session.playIndex + 1;
        }
        result.sample = unit.sample;
        const std::int32_t length = unit ? unit.length : 1;
        if (session.playIndex < session.endIndex) {
            result.unitLength = std::min(length, session.endIndex - session.playIndex);
            result.source = UnitSource(session, session.playIndex, result.unitLength);
        } else {
            // The tick over the terminator: no unit, an empty range where the reading ended.
            const auto end = static_cast<std::uint16_t>(std::max(session.sourceEnd, 0));
            result.source = {end, end};
        }
        session.playIndex += length;
    } else {
        // An index outside the buffer (never left there by the speak command) reads nothing.
        ++session.playIndex;
    }

    // The end and stop checks come after the unit, so a stop still lets one unit sound.
    if (session.playIndex > session.endIndex) {
        if (session.stopRequest == 1 || !preferences.repeat) {
            EndPlayback(session);
            result.killTimer = true;
        } else {
            session.playIndex = 0;
            session.secondByteIndex = -1;
        }
    } else if (session.stopRequest == 1) {
        EndPlayback(session);
        result.killTimer = true;
    }
    return result;
}

void StopSpeech(SpeechTickState& session) {
    session.stopRequest = 1;
    session.speaking = 0;
}

void StopSpeechOnDeactivation(SpeechTickState& session) {
    session.speaking = 0;
    session.stopRequest = 1;
}

bool ToggleVoiceOnF5(SpeechPreferences& preferences, KeyRepeat repeat) {
    if (repeat == KeyRepeat::AutoRepeat) {
        return false;
    }
    preferences.voice = OtherVoice(preferences.voice);
    return true;
}

bool IsSpeakEnabled(const SpeechTickState& session) {
    return session.speaking != 1;
}

std::string_view VoiceIndicatorText(VoiceSlot voice) {
    return voice == VoiceSlot::Male ? kMaleIndicator : kFemaleIndicator;
}

std::int32_t SpeechTimerInterval(std::int32_t speed) {
    return speed < kMinTimerIntervalMs ? kMinTimerIntervalMs : speed;
}

} // namespace yomi6
