// The timings file of an export, for players that follow the text: JSON, one entry per unit of
// the reading with the sample it plays (null for a silent unit), its tick's start in
// milliseconds and its source bytes [begin, end) in the text file:
//   {"format":"yomi6-timings","version":1,"sampleRate":16000,"tickMs":180,"units":[
//   {"sample":"IDF_KA","startMs":0,"source":[0,4]},
//   ...
//   ]}
#pragma once

#include "export/speech_export.h"

#include <cstdint>
#include <string>

namespace yomi6 {

std::string TimingsHead(std::int64_t tickMs);

// The entry of a tick that passed over a unit, with the comma that separates it from the entry
// before it unless it is the first; "" for any other tick.
std::string TimingsEntry(const ExportTick& tick, bool first);

std::string TimingsTail();

} // namespace yomi6
