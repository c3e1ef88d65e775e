// The speech of a text behind one interface for both engines: a pass yields its units, each
// with its source bytes, start, end and what it says, and its sound, block by block on one
// clock. Export, subtitles, timings, progress and cancel are built on this alone.
#pragma once

#include "export/audio_file_writer.h"
#include "export/speech_export.h"
#include "export/spoken_unit.h"
#include "export/unit_timings.h"

#include <cstdint>
#include <functional>
#include <string>

namespace yomi6 {

struct UnitPassCallbacks {
    std::function<bool(const SpokenUnit&)> onUnit;  // false stops the pass; may be empty
    std::function<bool(const SoundBlock&)> onSound; // false stops the pass; may be empty
    // Now and then, with the source bytes read so far of those asked for; false cancels. May
    // be empty.
    std::function<bool(std::size_t done, std::size_t total)> onProgress;
};

struct UnitPassResult {
    ExportStatus status = ExportStatus::Done;
    std::string error;       // why it failed
    std::int64_t units = 0;  // units yielded (the sample engine: ticks, its ending ones too)
    std::int64_t frames = 0; // sound frames yielded
};

class UnitPass {
public:
    UnitPass() = default;
    UnitPass(const UnitPass&) = delete;
    UnitPass& operator=(const UnitPass&) = delete;
    virtual ~UnitPass() = default;

    virtual int SampleRate() const = 0;
    virtual SampleBits Bits() const = 0;
    // How the timings file names what its units say.
    virtual TimingsLayout Timings() const = 0;
    // Says the text through the callbacks, once.
    virtual UnitPassResult Run(const UnitPassCallbacks& callbacks) = 0;
};

} // namespace yomi6
