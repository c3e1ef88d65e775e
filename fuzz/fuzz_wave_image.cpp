// Any bytes given to ParseWave are either refused with a reason or give a data range that lies
// inside the image and agrees with the header.
#include "wave/wave_decoder.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    const auto info = yomi6::ParseWave(data, size, &error);
    if (!info) {
        if (error.empty()) {
            std::abort();
        }
        return 0;
    }
    const std::size_t offset = static_cast<std::size_t>(info->samples - data);
    if (offset > size || info->sampleCount > size - offset || info->channels != 1 ||
        info->bitsPerSample != 8 || info->sampleRate <= 0) {
        std::abort();
    }
    // Touch every data byte so that the sanitizer checks the range.
    static volatile unsigned sink;
    unsigned sum = 0;
    for (std::size_t i = 0; i < info->sampleCount; ++i) {
        sum += info->samples[i];
    }
    sink = sum;
    return 0;
}
