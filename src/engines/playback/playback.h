// Speech playback over a speech session: what one tick of the speech timer does,
// the stop command, the stop on deactivation of the view, the F5 voice toggle, the enabling of
// the speak command, the voice indicator and the timer's interval. The platform owns the timer
// and the sound output and does what a tick tells it.
#pragma once

#include "playback/speech_state.h"
#include "reading/source_range.h"

#include <cstdint>
#include <string_view>

namespace yomi6 {

inline constexpr int kSpeechTimerId = 1;
inline constexpr std::int32_t kMinTimerIntervalMs = 10; // window timers fire no faster

inline constexpr std::string_view kMaleIndicator = "男性";
inline constexpr std::string_view kFemaleIndicator = "女性";

// What the platform must do after a tick, and what the tick read.
struct TickResult {
    std::string_view sample;     // the sample to play now; empty: play nothing
    bool killTimer = false;      // playback has ended: stop the speech timer
    std::int32_t unitBegin = 0;  // reading offset of the unit or byte the tick passed over
    std::int32_t unitLength = 0; // its length; 0 for the tick over the reading's end
    SourceRange source;          // the source bytes of that unit (empty at the reading's end)
};

// One tick of the speech timer: passes over line ends, plays the unit at the play index in the
// current voice (or nothing when no unit starts there; each byte of a two-byte character in the
// reading is such a silent tick) and advances past it; then, past the end
// of the reading, ends playback or (repeat on, no stop request) starts again from the first
// byte; before the end, ends playback only on a stop request. Ending clears the stop request
// and the speaking flag. Allocates nothing. The voice and repeat are the preferences'.
TickResult SpeechTick(const SpeechPreferences& preferences, SpeechTickState& session);
inline TickResult SpeechTick(SpeechState& state) {
    return SpeechTick(state, state);
}

// The stop command: the next tick still handles one unit and then ends playback. The timer is
// left running and the sounding sample is not cut.
void StopSpeech(SpeechTickState& session);

// The view lost activation (another document window or another program became active, or the
// view is closing): stops like the stop command.
void StopSpeechOnDeactivation(SpeechTickState& session);

// How a press of the voice key (F5) reached the view: pressed down, or repeated by the keyboard
// while it is held.
enum class KeyRepeat { FirstPress, AutoRepeat };

// F5 in the view: toggles the voice on its first press and returns true; held down in auto-repeat
// it changes nothing and returns false.
bool ToggleVoiceOnF5(SpeechPreferences& preferences, KeyRepeat repeat);

// The speak command is refused while a speech runs.
bool IsSpeakEnabled(const SpeechTickState& session);

// The text of the voice pane of the status bar (UTF-8).
std::string_view VoiceIndicatorText(VoiceSlot voice);

// The text of the reading pane of the status bar (UTF-8): "辞書" or "自動".

// The period of the speech timer for a speed in milliseconds: the speed itself, but never less
// than 10 ms (a speed of 0, or a negative one from a damaged settings file, gets 10 ms).
std::int32_t SpeechTimerInterval(std::int32_t speed);

} // namespace yomi6
