// The module's sound: 16-bit mono blocks played through the sound server's simple API with a
// short buffer, so that a stop (Flush) silences it within a few tens of milliseconds. Used by
// one thread; only the stop flag it is given is read from elsewhere.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

struct pa_simple;

namespace yomi6::module {

// The sound queued ahead of what is heard: what a stop may still let through.
inline constexpr int kBufferMs = 30;

class PulseOutput {
public:
    PulseOutput() = default;
    PulseOutput(const PulseOutput&) = delete;
    PulseOutput& operator=(const PulseOutput&) = delete;
    ~PulseOutput();

    // Opens (or keeps open) a stream at rate on device ("" the default). False with error.
    bool Open(int rate, const std::string& device, std::string& error);
    // Plays count samples, a few milliseconds at a time, until stop is set. False when the
    // stream failed (error) or stop was set.
    bool Write(const std::int16_t* samples, std::size_t count, const std::atomic<bool>& stop,
               std::string& error);
    // Waits until what was written is heard, or stop is set.
    void Drain(const std::atomic<bool>& stop);
    // Drops what is written but not yet heard.
    void Flush();
    void Close();
    int Rate() const { return m_rate; }

private:
    pa_simple* m_stream = nullptr;
    int m_rate = 0;
    std::string m_device;
};

} // namespace yomi6::module
