// The timings file of an export, for players that follow the text: JSON, one entry per unit of
// the reading with what it says, its start in milliseconds and its source bytes [begin, end) in
// the text file. The sample voices write version 1, one entry per tick that passed over a unit,
// the sample it plays (null for a silent unit) and its tick's start:
//   {"format":"yomi6-timings","version":1,"sampleRate":16000,"tickMs":180,"units":[
//   {"sample":"IDF_KA","startMs":0,"source":[0,4]},
//   ...
//   ]}
// The natural voice writes version 2, which names the engine, has no tick and gives each mora
// (katakana in UTF-8, null for a pause) with its end:
//   {"format":"yomi6-timings","version":2,"engine":"natural","sampleRate":16000,"units":[
//   {"mora":"コ","startMs":0,"endMs":95,"source":[0,2]},
//   ...
//   ]}
// Its times are the frames of the sound file (the label times of the engine at the output
// rate) in milliseconds rounded to the nearest, a half up; a unit ends where the next begins.
// A sample voice joined with the natural voice (the lines in 「」 and 『』 in a voice of their
// own) writes version 2 with "engine":"samples+natural": the natural voice's units as above, and
// each tick of the sample voice with its sample's name (ASCII, never katakana) as its "mora":
//   {"mora":"IDF_KA","startMs":0,"endMs":180,"source":[0,4]}
#pragma once

#include "engine/speech_engine.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace yomi6 {

struct TimingsLayout {
    int version = 1;
    std::string_view engine; // written when not empty
    int sampleRate = 16000;
    std::int64_t tickMs = 0;             // written when above 0
    std::string_view nameKey = "sample"; // the key of what a unit says
    bool ends = false;                   // each unit's end too
};

// The layout of the sample voices' timings (version 1) at the timer interval tickMs.
TimingsLayout SampleTimingsLayout(std::int64_t tickMs);

// The layout of an engine's timings: version 1 for ticks, version 2 for morae (with the ticks
// among them, when the capabilities say so).
TimingsLayout TimingsLayoutOf(int sampleRate, const EngineCapabilities& capabilities);

std::string TimingsHead(const TimingsLayout& layout);

// The entry of a unit, with the comma that separates it from the entry before it unless it is
// the first.
std::string TimingsEntry(const TimingsLayout& layout, const SpokenUnit& unit, bool first);

std::string TimingsTail();

} // namespace yomi6
