// The reading of a short text laid out for showing: every reading byte with the source bytes it
// came from and whether it is heard as nothing (a tick that plays no sample: a blank, a sign or
// a character the samples do not hold).
#pragma once

#include "reading/source_range.h"
#include "reading/text_reader.h"
#include "voice/voice_slot.h"

#include <cstddef>
#include <string>
#include <vector>

namespace yomi6 {

struct ReadingListing {
    std::string reading;             // the reading bytes, line ends included, no terminator
    std::vector<SourceRange> source; // one per reading byte
    std::vector<bool> silent;        // one per reading byte: true where nothing is heard
};

// Reads the first min(n, 4000) bytes of text (code page 932, CR LF line ends) in mode, as a
// speech pass would, and finds the silent bytes by running the pass's ticks in voice.
ReadingListing ListReading(const unsigned char* text, std::size_t n, ReadingMode mode,
                           VoiceSlot voice, const ReaderSetup& setup);

} // namespace yomi6
