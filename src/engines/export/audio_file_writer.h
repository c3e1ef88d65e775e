// A sound file written block by block in the format its name's extension picks: PCM WAVE
// (RF64 past 4 GiB), FLAC, Ogg Vorbis, Ogg Opus or MP3, the compressed ones encoded by
// libsndfile. Nothing is held beyond one block; the file appears at its path only when Finish
// succeeds. A sound longer than a format's header can count is refused, never written with a
// wrapped size.
#pragma once

#include "engine/spoken_unit.h"
#include "io/atomic_output_file.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace yomi6 {

enum class AudioFormat { Wav, Flac, OggVorbis, OggOpus, Mp3 };

// The samples handed to the writer are as an engine makes them (SampleBits). A WAVE file keeps
// them as they are; the other formats take both as 16-bit.

// The format of an output name by its extension (.wav .flac .ogg .opus .mp3, any case), or
// none for any other name.
std::optional<AudioFormat> AudioFormatForPath(std::string_view path);

class AudioFileWriter {
public:
    AudioFileWriter();
    ~AudioFileWriter();
    AudioFileWriter(const AudioFileWriter&) = delete;
    AudioFileWriter& operator=(const AudioFileWriter&) = delete;

    // Starts a mono file of format at sampleRate. False, with the reason in error, when the
    // file cannot be created or the encoder refuses the format.
    bool Open(const std::string& path, AudioFormat format, int sampleRate, std::string& error) {
        return Open(path, format, sampleRate, SampleBits::Eight, error);
    }
    bool Open(const std::string& path, AudioFormat format, int sampleRate, SampleBits bits,
              std::string& error);
    // Appends 8-bit unsigned samples (128 is silence), to a file opened for SampleBits::Eight.
    bool Write(const unsigned char* samples, std::size_t count, std::string& error);
    // Appends 16-bit samples, to a file opened for SampleBits::Sixteen.
    bool Write(const std::int16_t* samples, std::size_t count, std::string& error);
    // Ends the stream and moves the file to its path.
    bool Finish(std::string& error);
    // Ends the stream and flushes the file, without moving it: for a sound file renamed
    // together with its side files (CommitTogether) through File().
    bool Complete(std::string& error);
    AtomicOutputFile& File() { return m_file; }
    // Drops the file (also done by the destructor when Finish was not reached).
    void Discard();

private:
    struct Encoder;
    std::string TooLong() const;
    // Drops the file and says why in error, after the file's name; reason may be error itself.
    bool Refuse(const std::string& reason, std::string& error);
    bool Accept(std::size_t count, SampleBits bits, std::string& error);
    bool Encode(const short* block, std::size_t n, std::string& error);
    // Both widths' Write: into a WAVE file as they are, else through the encoder's block.
    template <typename Sample>
    bool WriteSamples(const Sample* samples, std::size_t count, SampleBits bits,
                      std::string& error);

    std::unique_ptr<Encoder> m_encoder;
    AtomicOutputFile m_file;
};

} // namespace yomi6
