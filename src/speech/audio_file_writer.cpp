#include "speech/audio_file_writer.h"

#include <sndfile.h>

#include <algorithm>
#include <array>
#include <cctype>

namespace yomi6 {

namespace {

struct FormatEntry {
    std::string_view extension;
    AudioFormat format;
    int sndfileFormat;
};

// WAVE keeps the samples' own 8-bit format; FLAC (lossless) takes them as 16-bit, which every
// FLAC decoder reads; the lossy encoders take 16-bit input.
constexpr std::array<FormatEntry, 5> kFormats{{
    {".wav", AudioFormat::Wav, SF_FORMAT_WAV | SF_FORMAT_PCM_U8},
    {".flac", AudioFormat::Flac, SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
    {".ogg", AudioFormat::OggVorbis, SF_FORMAT_OGG | SF_FORMAT_VORBIS},
    {".opus", AudioFormat::OggOpus, SF_FORMAT_OGG | SF_FORMAT_OPUS},
    {".mp3", AudioFormat::Mp3, SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III},
}};

constexpr std::size_t kBlock = 4096;

// Opus picks its coding mode by bitrate: below about 64 kbit/s it codes speech with its linear
// prediction mode, which this libsndfile runs at the encoder's highest complexity and which
// then encodes hardly faster than 70 times real time. From about 64 kbit/s up it uses its
// transform mode for any signal, four times as fast and still clean for 16 kHz speech. The
// level is libsndfile's scale from 0.0 (largest) to 1.0 (smallest); this one asks for about
// 64 kbit/s.
constexpr double kOpusCompressionLevel = 0.768;

} // namespace

struct AudioFileWriter::Encoder {
    SNDFILE* file = nullptr;
    std::array<short, kBlock> block{};

    ~Encoder() {
        if (file != nullptr) {
            sf_close(file);
        }
    }
};

std::optional<AudioFormat> AudioFormatForPath(std::string_view path) {
    const auto slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    for (const FormatEntry& entry : kFormats) {
        if (name.size() <= entry.extension.size()) {
            continue;
        }
        const std::string_view tail = name.substr(name.size() - entry.extension.size());
        if (std::equal(tail.begin(), tail.end(), entry.extension.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) == b;
            })) {
            return entry.format;
        }
    }
    return std::nullopt;
}

AudioFileWriter::AudioFileWriter() = default;

AudioFileWriter::~AudioFileWriter() {
    Discard();
}

bool AudioFileWriter::Open(const std::string& path, AudioFormat format, int sampleRate,
                           std::string& error) {
    Discard();
    const auto entry = std::find_if(kFormats.begin(), kFormats.end(),
                                    [&](const FormatEntry& e) { return e.format == format; });
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = 1;
    info.format = entry->sndfileFormat;
    if (sf_format_check(&info) == 0) {
        error = "this system's libsndfile cannot write " + std::string(entry->extension.substr(1)) +
                " files";
        return false;
    }
    if (!m_file.Open(path, error)) {
        return false;
    }
    m_encoder = std::make_unique<Encoder>();
    m_encoder->file = sf_open_fd(m_file.Descriptor(), SFM_WRITE, &info, SF_FALSE);
    if (m_encoder->file == nullptr) {
        error = "cannot start the " + std::string(entry->extension.substr(1)) + " encoder for " +
                m_file.Target() + ": " + sf_strerror(nullptr);
        Discard();
        return false;
    }
    if (format == AudioFormat::OggOpus) {
        // A refusal only leaves the encoder's own bitrate: slower, never wrong.
        double level = kOpusCompressionLevel;
        sf_command(m_encoder->file, SFC_SET_COMPRESSION_LEVEL, &level, sizeof level);
    }
    return true;
}

bool AudioFileWriter::Write(const unsigned char* samples, std::size_t count, std::string& error) {
    if (!m_encoder) {
        error = "no sound file is open";
        return false;
    }
    while (count > 0) {
        const std::size_t n = std::min(count, kBlock);
        for (std::size_t i = 0; i < n; ++i) {
            m_encoder->block[i] = static_cast<short>((samples[i] - 128) * 256);
        }
        if (sf_write_short(m_encoder->file, m_encoder->block.data(), static_cast<sf_count_t>(n)) !=
            static_cast<sf_count_t>(n)) {
            error = "cannot write " + m_file.Target() + ": " + sf_strerror(m_encoder->file);
            Discard();
            return false;
        }
        samples += n;
        count -= n;
    }
    return true;
}

bool AudioFileWriter::Finish(std::string& error) {
    return Complete(error) && m_file.Commit(error);
}

bool AudioFileWriter::Complete(std::string& error) {
    if (!m_encoder) {
        error = "no sound file is open";
        return false;
    }
    // Closing ends the stream (the last pages, the header's sizes) before the file is renamed.
    const int closed = sf_close(m_encoder->file);
    m_encoder->file = nullptr;
    m_encoder.reset();
    if (closed != 0) {
        error = "cannot finish " + m_file.Target() + ": " + sf_error_number(closed);
        m_file.Discard();
        return false;
    }
    return m_file.Complete(error);
}

void AudioFileWriter::Discard() {
    m_encoder.reset();
    m_file.Discard();
}

} // namespace yomi6
