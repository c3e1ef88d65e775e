// What a reading is spoken with and how far it has got: the user's choices (kept in the settings
// file, owned by whoever runs the program) apart from the running session (owned by whatever
// runs the reading).
#pragma once

#include "aozora/aozora_notation.h"
#include "reading/reading_conversion.h"
#include "reading/reading_mode.h"
#include "reading/text_reader.h"
#include "voice/voice_slot.h"

#include <cstddef>
#include <cstdint>

namespace yomi6 {

inline constexpr std::int32_t kDefaultSpeed = 180; // milliseconds per tick
inline constexpr std::int32_t kMaxSpeed = 1000;

// The user's choices: how every reading sounds. Changing one during a reading takes effect at
// its next tick (the voice) or its next pass.
struct SpeechPreferences {
    VoiceSlot voice = VoiceSlot::Female;
    std::int32_t speed = kDefaultSpeed;
    bool repeat = false; // the reading starts again at its end until stopped
    std::int32_t readings = kReadingsDictionary; // the choice the next speak command resolves
    AozoraMode aozora = AozoraMode::Auto; // whether the automatic reading heeds Aozora notation
};

// One reading as it runs: the reading of the pass, where the ticks are in it, and the flags.
struct SpeechTickState {
    std::int32_t speaking = 0;         // 1 from the speak command until playback ends or stops
    std::int32_t stopRequest = 0;      // 1 asks the next tick to end playback
    std::int32_t playIndex = 0;        // offset in the reading of the next unit
    std::int32_t secondByteIndex = -1; // the second byte of a two-byte character met by the ticks
    std::int32_t endIndex = 0;         // length of the reading
    unsigned char reading[kReadingBufferSize] = {}; // zero-terminated reading
    SourceRange source[kReadingBufferSize] = {};    // the source bytes of each reading byte
    std::int32_t sourceEnd = 0;                     // how far into the source text the reading got
};

// A session together with the choices it is spoken with, as one value: what a command-line
// mode, an export or a test that owns both carries. It is either of its parts where a function
// needs only one.
struct SpeechState : SpeechPreferences, SpeechTickState {};

// The speak command up to the start of the timer: raises the stop request when a speech is
// already running, sets the speaking flag, converts the first 4000 bytes of text (code page
// 932, CR LF line ends) into the reading, as preferences.readings says, and points the indexes
// at it. The caller then starts the speech timer with preferences.speed as its period.
void StartSpeech(const SpeechPreferences& preferences, SpeechTickState& session,
                 const unsigned char* text, std::size_t n, const ReaderSetup& setup);
inline void StartSpeech(SpeechState& state, const unsigned char* text, std::size_t n,
                        const ReaderSetup& setup) {
    StartSpeech(state, state, text, n, setup);
}

} // namespace yomi6
