#include "voice/recording_session.h"

#include "io/atomic_file.h"
#include "wave/sample_pcm.h"
#include "wave/wave_decoder.h"

#include <filesystem>
#include <vector>

namespace yomi6 {

namespace {

constexpr double kPauseSeconds = 0.25;

} // namespace

RecordingSession::RecordingSession(std::string folder) : m_folder(std::move(folder)) {}

bool RecordingSession::Open(std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(m_folder, ec);
    if (ec) {
        error = m_folder + ": " + ec.message();
        return false;
    }
    if (!std::filesystem::is_directory(m_folder, ec)) {
        error = m_folder + ": not a folder";
        return false;
    }
    const std::string pause = m_folder + "/" + std::string(kPauseSuffix) + ".wav";
    if (std::filesystem::exists(pause, ec)) {
        return true;
    }
    const std::vector<std::int16_t> silence(
        static_cast<std::size_t>(static_cast<double>(kOutputSampleRate) * kPauseSeconds));
    const std::vector<unsigned char> bytes = EncodeWave16(silence, kOutputSampleRate);
    std::string why;
    if (!WriteFileAtomically(
            pause, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), why,
            MissingDirectories::Fail)) {
        error = why;
        return false;
    }
    return true;
}

const VoiceUnit& RecordingSession::Unit(std::size_t index) {
    // The pause is the last unit of VoiceUnits(), so the others keep their indexes.
    return VoiceUnits()[index];
}

std::string RecordingSession::PathOf(std::size_t index) const {
    return m_folder + "/" + std::string(Unit(index).suffix) + ".wav";
}

bool RecordingSession::IsRecorded(std::size_t index) const {
    std::error_code ec;
    return std::filesystem::is_regular_file(PathOf(index), ec);
}

std::size_t RecordingSession::RecordedCount() const {
    std::size_t n = 0;
    for (std::size_t i = 0; i < Count(); ++i) {
        n += IsRecorded(i) ? 1U : 0U;
    }
    return n;
}

std::size_t RecordingSession::FirstMissing() const {
    for (std::size_t i = 0; i < Count(); ++i) {
        if (!IsRecorded(i)) {
            return i;
        }
    }
    return Count();
}

bool RecordingSession::Save(std::size_t index, std::span<const std::int16_t> pcm, int rate,
                            std::string& error) const {
    if (index >= Count() || pcm.empty()) {
        error = "nothing to save";
        return false;
    }
    const std::vector<unsigned char> bytes = EncodeWave16(pcm, rate);
    return WriteFileAtomically(
        PathOf(index), std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
        error, MissingDirectories::Fail);
}

} // namespace yomi6
