// Playback over an arbitrary reading buffer (with or without a terminator) and arbitrary
// indexes: ticks never read outside the buffer and always end, a stop request ends playback at
// the very next tick; the schedule of a pass and its rendering agree tick for tick, and the
// rendering lasts until the later of the last tick and the end of the last sound.
//
// Input: end index (2 bytes), play index (2 bytes), flags, speed, stop point, then the reading.
// The indexes fall within a few bytes of the reading unless the flags' five high bits are all
// set: then the raw 16-bit values are used (any index, up to the whole 4096-byte buffer and
// beyond, whose pass and rendering are long). So an ordinary input costs ticks in proportion to
// its own length, and the long case stays a small share of the runs.
#include "playback/playback.h"
#include "playback/wav_render.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

using namespace yomi6;

constexpr std::size_t kHeaderSize = 7;
constexpr std::uint8_t kFarFlags = 0xF8;
// Longer passes are scheduled but not rendered: rendering does the same for every tick, and a
// pass of the whole buffer would allocate and fill a megabyte for every input.
constexpr std::size_t kMaxRenderedTicks = 512;

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::int32_t Int16At(const std::uint8_t* p) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}

// An index near a reading of n bytes: from 8 before its start to 8 past its end.
std::int32_t NearIndex(std::int32_t raw, std::size_t n) {
    const auto span = static_cast<std::int32_t>(n) + 17;
    return ((raw % span) + span) % span - 8;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kHeaderSize) {
        return 0;
    }
    const std::size_t n = std::min(size - kHeaderSize, kReadingBufferSize);
    const bool far = (data[4] & kFarFlags) == kFarFlags;
    const auto state = std::make_unique<SpeechState>();
    state->endIndex = far ? Int16At(data) : NearIndex(Int16At(data), n);
    state->playIndex = far ? Int16At(data + 2) : NearIndex(Int16At(data + 2), n);
    state->voice = VoiceOfFlag(data[4] & 1);
    state->repeat = ((data[4] >> 1) & 1) != 0;
    state->stopRequest = (data[4] >> 2) & 1;
    state->speed = data[5] % 21; // short ticks keep the renderings small
    std::memcpy(state->reading, data + kHeaderSize, n);

    // Free-running ticks, stopped at the start, half-way, after one or after one and a half
    // passes: the tick after the stop ends playback, and without a stop a pass ends by itself.
    const std::int32_t pass =
        std::clamp(state->endIndex, 0, static_cast<std::int32_t>(kReadingBufferSize)) + 2;
    const std::int32_t stopAt = pass * (data[6] % 4) / 2;
    auto ticks = std::make_unique<SpeechState>(*state);
    ticks->speaking = 1;
    for (std::int32_t k = 0;; ++k) {
        if (k == stopAt) {
            StopSpeech(*ticks);
            Check(SpeechTick(*ticks).killTimer);
            break;
        }
        if (SpeechTick(*ticks).killTimer) {
            break;
        }
    }
    Check(ticks->speaking == 0 && ticks->stopRequest == 0);

    const auto schedule = PassSchedule(*state);
    Check(!schedule.empty());
    if (schedule.size() > kMaxRenderedTicks) {
        return 0;
    }
    static const unsigned char kSound[] = {100, 150, 200};
    constexpr std::size_t kRenderedSound = 6; // 3 samples at 8000 Hz, at twice the rate
    const auto image = RenderPassWave(*state, [](std::string_view) {
        return SampleSound{8000, kSound};
    });
    Check(image.has_value());
    // Every played tick starts its sound on the grid.
    const std::size_t tick = static_cast<std::size_t>(SpeechTimerInterval(state->speed)) *
                             static_cast<std::size_t>(kRenderRate / 1000);
    std::size_t end = (schedule.size() - 1) * tick;
    for (std::size_t k = 0; k < schedule.size(); ++k) {
        if (schedule[k] != kSilentTick) {
            Check((*image)[kWaveHeaderSize + k * tick] == kSound[0]);
            end = std::max(end, k * tick + kRenderedSound);
        }
    }
    Check(image->size() == kWaveHeaderSize + end);
    return 0;
}
