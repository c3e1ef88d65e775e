#include "support/wave_writer.h"

#include <sndfile.h>

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace yomi6::test {

void WriteSineWave(const std::string& path, int rate, int channels, int subtype, double seconds,
                   double freq, double amp, bool extensible) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = (extensible ? SF_FORMAT_WAVEX : SF_FORMAT_WAV) | subtype;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) {
        throw std::runtime_error("libsndfile cannot write " + path + ": " + sf_strerror(nullptr));
    }
    const auto frames = static_cast<std::size_t>(rate * seconds);
    std::vector<double> data(frames * static_cast<std::size_t>(channels));
    for (std::size_t i = 0; i < frames; ++i) {
        const double v =
            amp * std::sin(2 * std::numbers::pi * freq * static_cast<double>(i) / rate);
        for (int c = 0; c < channels; ++c) {
            data[i * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)] = v;
        }
    }
    sf_writef_double(file, data.data(), static_cast<sf_count_t>(frames));
    sf_close(file);
}

std::vector<std::int16_t> Sine16(int rate, double seconds, double freq, double amp) {
    std::vector<std::int16_t> pcm(static_cast<std::size_t>(rate * seconds));
    for (std::size_t i = 0; i < pcm.size(); ++i) {
        pcm[i] = static_cast<std::int16_t>(std::lround(
            32767 * amp * std::sin(2 * std::numbers::pi * freq * static_cast<double>(i) / rate)));
    }
    return pcm;
}

int ZeroCrossings(const std::vector<std::int16_t>& pcm) {
    int n = 0;
    for (std::size_t i = 1; i < pcm.size(); ++i) {
        if ((pcm[i - 1] < 0) != (pcm[i] < 0)) {
            ++n;
        }
    }
    return n;
}

} // namespace yomi6::test
