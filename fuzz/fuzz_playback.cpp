// Playback over an arbitrary reading buffer (with or without a terminator) and arbitrary
// indexes: ticks never read outside the buffer and always end; the schedule of a pass and its
// rendering agree tick for tick.
#include "speech/playback.h"
#include "speech/wav_render.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

std::int32_t Int16At(const std::uint8_t* p) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace yomi6;
    if (size < 6) {
        return 0;
    }
    const auto state = std::make_unique<SpeechState>();
    state->endIndex = Int16At(data);
    state->playIndex = Int16At(data + 2);
    state->voice = data[4] & 1;
    state->repeat = (data[4] >> 1) & 1;
    state->stopRequest = (data[4] >> 2) & 1;
    state->speed = data[5] % 21; // short ticks keep the renderings small
    const std::size_t n = std::min(size - 6, kReadingBufferSize);
    std::memcpy(state->reading, data + 6, n);

    // Free-running ticks: the stop request must end playback within a few ticks of a stop.
    auto ticks = std::make_unique<SpeechState>(*state);
    ticks->speaking = 1;
    for (int k = 0; k < 9000; ++k) {
        if (k == 8000) {
            StopSpeech(*ticks);
        }
        if (SpeechTick(*ticks).killTimer) {
            break;
        }
        if (k == 8999) {
            std::abort(); // a stop request that was never honoured
        }
    }

    const auto schedule = PassSchedule(*state);
    static const unsigned char kSound[] = {100, 150, 200};
    const auto image = RenderPassWave(*state, [](std::string_view) {
        return SampleSound{8000, kSound};
    });
    if (!image) {
        std::abort();
    }
    // Every played tick starts its sound on the grid.
    const std::size_t tick = static_cast<std::size_t>(SpeechTimerInterval(state->speed)) *
                             static_cast<std::size_t>(kRenderRate / 1000);
    for (std::size_t k = 0; k < schedule.size(); ++k) {
        if (schedule[k] != kSilentTick && (*image)[kWaveHeaderSize + k * tick] != kSound[0]) {
            std::abort();
        }
    }
    return 0;
}
