#include "module/pulse_output.h"

#include <pulse/error.h>
#include <pulse/simple.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

namespace yomi6::module {

namespace {

constexpr int kChunkMs = 5;
// The longest a drain waits: the stream holds far less.
constexpr std::chrono::microseconds kMostDrain = std::chrono::seconds(2);

std::uint32_t Bytes(int rate, int ms) {
    return static_cast<std::uint32_t>(rate / 1000 * ms * 2);
}

} // namespace

PulseOutput::~PulseOutput() {
    Close();
}

bool PulseOutput::Open(int rate, const std::string& device, std::string& error) {
    if (m_stream != nullptr && rate == m_rate && device == m_device) {
        return true;
    }
    Close();
    pa_sample_spec sampleFormat{};
    sampleFormat.format = PA_SAMPLE_S16LE;
    sampleFormat.rate = static_cast<std::uint32_t>(rate);
    sampleFormat.channels = 1;
    pa_buffer_attr attr{};
    attr.maxlength = static_cast<std::uint32_t>(-1);
    attr.tlength = Bytes(rate, kBufferMs);
    attr.prebuf = Bytes(rate, kChunkMs); // starts as soon as a little is there
    attr.minreq = static_cast<std::uint32_t>(-1);
    attr.fragsize = static_cast<std::uint32_t>(-1);
    int code = 0;
    m_stream = pa_simple_new(nullptr, "yomi6 speech", PA_STREAM_PLAYBACK,
                             device.empty() ? nullptr : device.c_str(), "speech", &sampleFormat,
                             nullptr, &attr, &code);
    if (m_stream == nullptr) {
        error = std::string("cannot play sound: ") + pa_strerror(code);
        return false;
    }
    m_rate = rate;
    m_device = device;
    return true;
}

bool PulseOutput::Write(const std::int16_t* samples, std::size_t count,
                        const std::atomic<bool>& stop, std::string& error) {
    const std::size_t chunk = static_cast<std::size_t>(std::max(1, m_rate / 1000 * kChunkMs));
    for (std::size_t at = 0; at < count; at += chunk) {
        if (stop.load()) {
            return false;
        }
        const std::size_t n = std::min(chunk, count - at);
        int code = 0;
        if (pa_simple_write(m_stream, samples + at, n * sizeof(std::int16_t), &code) < 0) {
            error = std::string("cannot play sound: ") + pa_strerror(code);
            Close();
            return false;
        }
    }
    return !stop.load();
}

void PulseOutput::Drain(const std::atomic<bool>& stop) {
    if (m_stream == nullptr) {
        return;
    }
    // The stream keeps what it holds below its start threshold: fill up to it with silence.
    const std::vector<std::int16_t> silence(static_cast<std::size_t>(m_rate / 1000 * kChunkMs));
    int code = 0;
    pa_simple_write(m_stream, silence.data(), silence.size() * sizeof(std::int16_t), &code);
    // The latency is how long until the last sample written is heard. Waiting for it to fall
    // to nothing would wait for ever: the sink's own latency stays under it.
    const pa_usec_t latency = pa_simple_get_latency(m_stream, &code);
    if (latency == static_cast<pa_usec_t>(-1)) {
        return;
    }
    using Clock = std::chrono::steady_clock;
    const Clock::time_point heard =
        Clock::now() + std::min(std::chrono::microseconds(latency), kMostDrain);
    while (!stop.load() && Clock::now() < heard) {
        std::this_thread::sleep_for(
            std::min<Clock::duration>(std::chrono::milliseconds(kChunkMs), heard - Clock::now()));
    }
}

void PulseOutput::Flush() {
    if (m_stream != nullptr) {
        int code = 0;
        pa_simple_flush(m_stream, &code);
    }
}

void PulseOutput::Close() {
    if (m_stream != nullptr) {
        pa_simple_free(m_stream);
        m_stream = nullptr;
    }
}

} // namespace yomi6::module
