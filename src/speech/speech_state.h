// The process-wide speech state: one speech at a time, whichever view started it.
#pragma once

#include "speech/aozora_notation.h"
#include "speech/reading_conversion.h"
#include "speech/reading_mode.h"
#include "speech/text_reader.h"

#include <cstddef>
#include <cstdint>

namespace yomi6 {

inline constexpr std::int32_t kDefaultSpeed = 180; // milliseconds per tick
inline constexpr std::int32_t kMaxSpeed = 1000;
inline constexpr std::int32_t kRepeatOn = 0;  // index of the ＯＮ button
inline constexpr std::int32_t kRepeatOff = 1; // index of the ＯＦＦ button

struct SpeechState {
    std::int32_t speaking = 0;         // 1 from the speak command until playback ends or stops
    std::int32_t stopRequest = 0;      // 1 asks the next tick to end playback
    std::int32_t playIndex = 0;        // offset in the reading of the next unit
    std::int32_t secondByteIndex = -1; // the second byte of a two-byte character met by the ticks
    std::int32_t endIndex = 0;         // length of the reading
    std::int32_t voice = 0;            // nonzero: male voice, 0: female voice
    std::int32_t speed = kDefaultSpeed;
    std::int32_t repeat = kRepeatOff;
    std::int32_t readings = kReadingsDictionary; // the choice the next speak command resolves
    AozoraMode aozora = AozoraMode::Auto; // whether the automatic reading heeds Aozora notation
    unsigned char reading[kReadingBufferSize] = {}; // zero-terminated reading
    SourceRange source[kReadingBufferSize] = {};    // the source bytes of each reading byte
    std::int32_t sourceEnd = 0;                     // how far into the source text the reading got
};

// The one speech state of the process.
extern SpeechState g_speech;

// The speak command up to the start of the timer: raises the stop request when a speech is
// already running, sets the speaking flag, converts the first 4000 bytes of text (code page
// 932, CR LF line ends) into the reading and points the indexes at it. The caller then starts
// the speech timer with state.speed as its period.
void StartSpeech(SpeechState& state, const unsigned char* text, std::size_t n,
                 const ReaderSetup& setup = ReaderSetup());

} // namespace yomi6
