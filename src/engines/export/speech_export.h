// Speech through any length of text laid out in time and rendered: pass after pass (each cut by
// the pass planner where the previous pass's reading stopped), tick after tick on one clock, the
// ticks reported with their source bytes in the whole text and the sound streamed block by
// block. Between two passes lies only the tick that ends the first, as in continuous playback.
#pragma once

#include "engine/speech_engine.h"
#include "playback/stream_mixer.h"
#include "playback/wav_render.h"
#include "reading/text_reader.h"
#include "text/speech_text.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace yomi6 {

// One tick of the export.
struct ExportTick {
    std::int64_t index = 0;      // ticks before it since the start
    std::int64_t timeMs = 0;     // index x the timer interval
    std::string_view sample;     // the sample it plays; empty: none
    bool unit = false;           // it passed over a unit of the reading (not a pass's end)
    std::size_t sourceBegin = 0; // source bytes of that unit in the whole text
    std::size_t sourceEnd = 0;
};

struct ExportRequest {
    explicit ExportRequest(const ReaderSetup& reading) : setup(reading) {}

    std::string_view text; // code page 932, CR LF line ends
    std::size_t from = 0;  // source bytes [from, to) are read; both clamped to the text
    std::size_t to = static_cast<std::size_t>(-1);
    std::int32_t voice = 0;
    std::int32_t speed = 180;
    std::int32_t readings = 0;
    ReaderSetup setup;
    SoundSource sounds = CompiledInSound;
    // Whether samples longer than the tick are shortened to it, as the live output does.
    SampleFitting fitting = SampleFitting::Off;
    // The characters of the text the code page lacks, for the subtitles (SpeechBytes).
    std::span<const StandIn> standIns;
};

struct ExportCallbacks {
    std::function<bool(const ExportTick&)> onTick; // false stops the export; may be empty
    StreamMixer::Sink onSound;                     // the rendered blocks; may be empty
    // After each pass, with the source bytes read so far; false cancels. May be empty.
    std::function<bool(std::size_t done, std::size_t total)> onProgress;
};

using ExportStatus = SpeechStatus;

struct ExportResult {
    ExportStatus status = ExportStatus::Done;
    std::string error;        // why it failed
    std::int64_t ticks = 0;   // ticks laid out, the ending one included
    std::int64_t samples = 0; // output samples rendered at kRenderRate
};

// The first character boundary at or after offset in text (code page 932), counting from the
// text's start; text.size() past the end.
std::size_t CharBoundaryAtOrAfter(std::string_view text, std::size_t offset);

// Runs the export. An empty range still has its one ending tick, as a pass over an empty
// reading has. sounds, when given, are the frames of request's sounds, speed and fitting, kept
// by a caller that exports again and again (the fitting is the costly part); else they are made
// for this export.
ExportResult RunSpeechExport(const ExportRequest& request, const ExportCallbacks& callbacks,
                             RenderedSounds* sounds = nullptr);

} // namespace yomi6
