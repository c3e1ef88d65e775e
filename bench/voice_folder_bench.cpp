// Loading a voice folder of all 141 units, each 0.3 s of 44.1 kHz 16-bit stereo: read, check,
// mix down and convert every file.
#include "voice/voice_folder.h"
#include "voice/voice_units.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace yomi6 {
namespace {

void Put(std::string& s, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    }
}

std::string StereoWave(int rate, double seconds) {
    const auto frames = static_cast<std::uint32_t>(rate * seconds);
    const std::uint32_t dataSize = frames * 4;
    std::string s = "RIFF";
    Put(s, 36 + dataSize, 4);
    s += "WAVEfmt ";
    Put(s, 16, 4);
    Put(s, 1, 2);
    Put(s, 2, 2);
    Put(s, static_cast<std::uint32_t>(rate), 4);
    Put(s, static_cast<std::uint32_t>(rate) * 4, 4);
    Put(s, 4, 2);
    Put(s, 16, 2);
    s += "data";
    Put(s, dataSize, 4);
    for (std::uint32_t i = 0; i < frames; ++i) {
        const auto v = static_cast<std::int16_t>(8000 * std::sin(i * 0.0627));
        Put(s, static_cast<std::uint16_t>(v), 2);
        Put(s, static_cast<std::uint16_t>(v), 2);
    }
    return s;
}

class VoiceFolderFixture {
public:
    VoiceFolderFixture() {
        std::string pattern =
            std::filesystem::temp_directory_path().string() + "/yomi6-bench-XXXXXX";
        m_dir = ::mkdtemp(pattern.data());
        const std::string wave = StereoWave(44100, 0.3);
        for (const VoiceUnit& unit : VoiceUnits()) {
            std::ofstream(m_dir + "/" + std::string(unit.suffix) + ".wav", std::ios::binary)
                << wave;
        }
    }
    ~VoiceFolderFixture() { std::filesystem::remove_all(m_dir); }
    const std::string& dir() const { return m_dir; }

private:
    std::string m_dir;
};

void BM_LoadVoiceFolder141Stereo(benchmark::State& state) {
    const VoiceFolderFixture folder;
    for (auto _ : state) {
        const auto voice = LoadVoiceFolder(folder.dir());
        if (voice->report.UsableCount() != kVoiceUnitCount) {
            state.SkipWithError("not every unit loaded");
        }
        benchmark::DoNotOptimize(voice.get());
    }
}
BENCHMARK(BM_LoadVoiceFolder141Stereo)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace yomi6
