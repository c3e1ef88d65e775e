// Any bytes given to DecodeWave are either refused with a reason or decode to frames within
// [-1, 1] at a supported rate; a file it reads also converts to the player's format.
#include "wave/pcm_convert.h"
#include "wave/wave_decoder.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const yomi6::WaveDecodeResult r = yomi6::DecodeWave({data, size});
    if (!r) {
        if (r.detail.empty()) {
            std::abort();
        }
        return 0;
    }
    if (r.wave.mono.empty() || r.wave.sampleRate < 1000 || r.wave.sampleRate > 384000) {
        std::abort();
    }
    for (const float v : r.wave.mono) {
        if (!(v >= -1.0F && v <= 1.0F)) {
            std::abort();
        }
    }
    if (r.wave.mono.size() < 20000) {
        (void)yomi6::ToPlayerPcm(r.wave.mono, r.wave.sampleRate);
    }
    return 0;
}
