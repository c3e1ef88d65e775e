#include "export/audio_file_writer.h"

#include "export/wave_stream.h"

#include <sndfile.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <unistd.h>

namespace yomi6 {

namespace {

struct FormatEntry {
    std::string_view extension;
    AudioFormat format;
    int sndfileFormat;
    // What the format's header can count: 0 for no limit. A longer export is refused rather
    // than written with a wrapped count.
    std::uint64_t maxFrames;
    std::uint64_t maxBytes;
};

// FLAC counts its samples in 36 bits (49 days at 16000 Hz); the MP3 encoder's header counts
// the file's bytes in 32 bits, and the stream still grows by its last frames when it ends.
constexpr std::uint64_t kFlacMaxFrames = (std::uint64_t{1} << 36) - 1;
constexpr std::uint64_t kMp3MaxBytes = 0xFFFFFFFFull - (1 << 20);

// WAVE keeps the samples' own format, 8-bit or 16-bit, and is written here (RIFF, RF64 past
// 4 GiB); FLAC (lossless) takes them as 16-bit, which every FLAC decoder reads; the lossy
// encoders take 16-bit input.
constexpr std::array<FormatEntry, 5> kFormats{{
    {".wav", AudioFormat::Wav, SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 0, 0},
    {".flac", AudioFormat::Flac, SF_FORMAT_FLAC | SF_FORMAT_PCM_16, kFlacMaxFrames, 0},
    {".ogg", AudioFormat::OggVorbis, SF_FORMAT_OGG | SF_FORMAT_VORBIS, 0, 0},
    {".opus", AudioFormat::OggOpus, SF_FORMAT_OGG | SF_FORMAT_OPUS, 0, 0},
    {".mp3", AudioFormat::Mp3, SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 0, kMp3MaxBytes},
}};

constexpr std::size_t kBlock = 4096;

// Opus picks its coding mode by bitrate: below about 64 kbit/s it codes speech with its linear
// prediction mode, which this libsndfile runs at the encoder's highest complexity and which
// then encodes hardly faster than 70 times real time. From about 64 kbit/s up it uses its
// transform mode for any signal, four times as fast and still clean for 16 kHz speech. The
// level is libsndfile's scale from 0.0 (largest) to 1.0 (smallest); this one asks for about
// 64 kbit/s.
constexpr double kOpusCompressionLevel = 0.768;

// The file as libsndfile sees it. Writing through these calls keeps the reason of the first
// failed write (above all a full disk), which libsndfile reports for some formats only as an
// "internal error" when the stream is closed, and the length the file has reached.
struct FileIo {
    int fd = -1;
    int error = 0; // errno of the first failed write
    sf_count_t position = 0;
    sf_count_t length = 0;
};

sf_count_t IoLength(void* user) {
    return static_cast<FileIo*>(user)->length;
}

sf_count_t IoSeek(sf_count_t offset, int whence, void* user) {
    auto* io = static_cast<FileIo*>(user);
    const off_t at = ::lseek(io->fd, static_cast<off_t>(offset), whence);
    if (at >= 0) {
        io->position = at;
    }
    return at;
}

sf_count_t IoRead(void* data, sf_count_t count, void* user) {
    auto* io = static_cast<FileIo*>(user);
    const ssize_t n = ::read(io->fd, data, static_cast<std::size_t>(count));
    if (n > 0) {
        io->position += n;
    }
    return n < 0 ? 0 : n;
}

sf_count_t IoWrite(const void* data, sf_count_t count, void* user) {
    auto* io = static_cast<FileIo*>(user);
    const auto* p = static_cast<const unsigned char*>(data);
    sf_count_t done = 0;
    while (done < count && io->error == 0) {
        const ssize_t n = ::write(io->fd, p + done, static_cast<std::size_t>(count - done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            io->error = n < 0 ? errno : EIO;
            break;
        }
        done += n;
    }
    io->position += done;
    io->length = std::max(io->length, io->position);
    return done;
}

sf_count_t IoTell(void* user) {
    return static_cast<FileIo*>(user)->position;
}

} // namespace

struct AudioFileWriter::Encoder {
    const FormatEntry* entry = nullptr;
    FileIo io;
    SNDFILE* file = nullptr;        // every format but WAVE
    std::optional<WaveStream> wave; // WAVE
    std::array<short, kBlock> block{};
    std::uint64_t frames = 0;
    SampleBits bits = SampleBits::Eight;

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
                           SampleBits bits, std::string& error) {
    Discard();
    const auto entry = std::find_if(kFormats.begin(), kFormats.end(),
                                    [&](const FormatEntry& e) { return e.format == format; });
    const std::string name(entry->extension.substr(1));
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = 1;
    info.format = entry->sndfileFormat;
    if (format != AudioFormat::Wav && sf_format_check(&info) == 0) {
        error = "this system's libsndfile cannot write " + name + " files";
        return false;
    }
    if (!m_file.Open(path, error)) {
        return false;
    }
    m_encoder = std::make_unique<Encoder>();
    m_encoder->entry = &*entry;
    m_encoder->io.fd = m_file.Descriptor();
    m_encoder->bits = bits;
    if (format == AudioFormat::Wav) {
        m_encoder->wave.emplace();
        if (!m_encoder->wave->Start(m_file.Descriptor(), sampleRate, error,
                                    bits == SampleBits::Sixteen ? 2 : 1)) {
            return Refuse(error, error); // the stream's reason, after the file's name
        }
        return true;
    }
    SF_VIRTUAL_IO calls{IoLength, IoSeek, IoRead, IoWrite, IoTell};
    m_encoder->file = sf_open_virtual(&calls, SFM_WRITE, &info, &m_encoder->io);
    if (m_encoder->file == nullptr) {
        error =
            "cannot start the " + name + " encoder for " + m_file.Target() + ": " +
            (m_encoder->io.error != 0 ? std::strerror(m_encoder->io.error) : sf_strerror(nullptr));
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

// Checks that the file is open for samples of bits and that count more fit its format.
bool AudioFileWriter::Accept(std::size_t count, SampleBits bits, std::string& error) {
    if (!m_encoder) {
        error = "no sound file is open";
        return false;
    }
    Encoder& e = *m_encoder;
    if (e.bits != bits) {
        return Refuse("the samples are not of the width the file was opened for", error);
    }
    if (e.entry->maxFrames != 0 && e.frames + count > e.entry->maxFrames) {
        return Refuse(TooLong(), error);
    }
    e.frames += count;
    return true;
}

bool AudioFileWriter::Encode(const short* block, std::size_t n, std::string& error) {
    Encoder& e = *m_encoder;
    const sf_count_t written = sf_write_short(e.file, block, static_cast<sf_count_t>(n));
    if (written != static_cast<sf_count_t>(n) || e.io.error != 0) {
        return Refuse(e.io.error != 0 ? std::strerror(e.io.error) : sf_strerror(e.file), error);
    }
    if (e.entry->maxBytes != 0 && static_cast<std::uint64_t>(e.io.length) > e.entry->maxBytes) {
        return Refuse(TooLong(), error);
    }
    return true;
}

namespace {

// A sample as the compressed formats' encoder takes it: 16-bit signed, 8-bit ones moved from
// their 128 of silence to 0 and scaled up.
short EncoderSample(unsigned char sample) {
    return static_cast<short>((sample - 128) * 256);
}

short EncoderSample(std::int16_t sample) {
    return sample;
}

} // namespace

template <typename Sample>
bool AudioFileWriter::WriteSamples(const Sample* samples, std::size_t count, SampleBits bits,
                                   std::string& error) {
    if (!Accept(count, bits, error)) {
        return false;
    }
    Encoder& e = *m_encoder;
    if (e.wave) {
        if (!e.wave->Write(samples, count, error)) {
            return Refuse(error, error); // the stream's reason, after the file's name
        }
        return true;
    }
    while (count > 0) {
        const std::size_t n = std::min(count, kBlock);
        std::transform(samples, samples + n, e.block.begin(),
                       [](Sample s) { return EncoderSample(s); });
        if (!Encode(e.block.data(), n, error)) {
            return false;
        }
        samples += n;
        count -= n;
    }
    return true;
}

bool AudioFileWriter::Write(const unsigned char* samples, std::size_t count, std::string& error) {
    return WriteSamples(samples, count, SampleBits::Eight, error);
}

bool AudioFileWriter::Write(const std::int16_t* samples, std::size_t count, std::string& error) {
    return WriteSamples(samples, count, SampleBits::Sixteen, error);
}

bool AudioFileWriter::Finish(std::string& error) {
    return Complete(error) && m_file.Commit(error);
}

bool AudioFileWriter::Complete(std::string& error) {
    if (!m_encoder) {
        error = "no sound file is open";
        return false;
    }
    Encoder& e = *m_encoder;
    if (e.wave) {
        if (!e.wave->Finish(error)) {
            error = "cannot finish " + m_file.Target() + ": " + error;
            Discard();
            return false;
        }
    } else {
        // Closing ends the stream (the last pages, the header's sizes) before the file is
        // renamed.
        const int closed = sf_close(e.file);
        e.file = nullptr;
        if (closed != 0 || e.io.error != 0) {
            error = "cannot finish " + m_file.Target() + ": " +
                    (e.io.error != 0 ? std::strerror(e.io.error) : sf_error_number(closed));
            Discard();
            return false;
        }
    }
    m_encoder.reset();
    return m_file.Complete(error);
}

void AudioFileWriter::Discard() {
    m_encoder.reset();
    m_file.Discard();
}

std::string AudioFileWriter::TooLong() const {
    const std::string name(m_encoder->entry->extension.substr(1));
    return "the sound is too long for one " + name +
           " file; export a part of the text, or choose WAVE, Ogg or Opus";
}

bool AudioFileWriter::Refuse(const std::string& reason, std::string& error) {
    error = "cannot write " + m_file.Target() + ": " + reason;
    Discard();
    return false;
}

} // namespace yomi6
