// The exported sound files: WAVE stays the plain RIFF file libsndfile writes until its sizes
// outgrow 32 bits, then becomes RF64 (checked on small files with a lowered limit, and at the
// real limit through the header); a write that fails says why (a full disk, not "internal
// error"); an export that reads nothing writes no file in any format.
#include "export/audio_file_writer.h"
#include "export/export_job.h"
#include "export/wave_stream.h"
#include "support/sjis.h"
#include "support/temp_dir.h"
#include "support/test_reading.h"

#include <sndfile.h>

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace yomi6 {
namespace {

using test::ReadFile;
using test::Sjis;
using test::TempDir;

std::vector<unsigned char> Ramp(std::size_t n) {
    std::vector<unsigned char> samples(n);
    for (std::size_t i = 0; i < n; ++i) {
        samples[i] = static_cast<unsigned char>(i * 7 + i / 251);
    }
    return samples;
}

// The file libsndfile itself writes for the samples as 8-bit WAVE.
std::string SndfileWave(const std::string& path, const std::vector<unsigned char>& samples) {
    SF_INFO info{};
    info.samplerate = 16000;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_U8;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    EXPECT_NE(file, nullptr);
    std::vector<short> wide;
    wide.reserve(samples.size());
    for (const unsigned char s : samples) {
        wide.push_back(static_cast<short>((s - 128) * 256));
    }
    sf_write_short(file, wide.data(), static_cast<sf_count_t>(wide.size()));
    sf_close(file);
    return ReadFile(path);
}

// The samples libsndfile reads back (any container it knows), or nothing when it cannot.
std::vector<unsigned char> ReadBack(const std::string& path, int* container = nullptr) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        return {};
    }
    std::vector<short> wide(static_cast<std::size_t>(info.frames));
    sf_read_short(file, wide.data(), info.frames);
    sf_close(file);
    if (container != nullptr) {
        *container = info.format & SF_FORMAT_TYPEMASK;
    }
    std::vector<unsigned char> samples;
    samples.reserve(wide.size());
    for (const short s : wide) {
        samples.push_back(static_cast<unsigned char>((s >> 8) + 128));
    }
    return samples;
}

std::uint64_t Le(const std::string& bytes, std::size_t at, int size) {
    std::uint64_t v = 0;
    for (int i = size - 1; i >= 0; --i) {
        v = v << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return v;
}

// Writes samples through a WaveStream in pieces of step, on a file opened for writing only
// (as the export's temporary files are).
std::string Streamed(const std::string& path, const std::vector<unsigned char>& samples,
                     std::size_t step, std::uint64_t riffLimit, bool* rf64) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    EXPECT_GE(fd, 0);
    WaveStream wave(riffLimit);
    std::string error;
    EXPECT_TRUE(wave.Start(fd, 16000, error)) << error;
    for (std::size_t i = 0; i < samples.size(); i += step) {
        const std::size_t n = std::min(step, samples.size() - i);
        EXPECT_TRUE(wave.Write(samples.data() + i, n, error)) << error;
    }
    EXPECT_TRUE(wave.Finish(error)) << error;
    ::close(fd);
    *rf64 = wave.IsRf64();
    return ReadFile(path);
}

TEST(WaveStream, WithinTheRiffLimitTheFileIsWhatLibsndfileWrites) {
    TempDir dir;
    for (const std::size_t n :
         {std::size_t{0}, std::size_t{1}, std::size_t{4096}, std::size_t{200001}}) {
        const auto samples = Ramp(n);
        bool rf64 = true;
        EXPECT_EQ(Streamed(dir.File("ours.wav"), samples, 70001, kRiffMaxDataBytes, &rf64),
                  SndfileWave(dir.File("theirs.wav"), samples))
            << n << " samples";
        EXPECT_FALSE(rf64);
    }
}

TEST(WaveStream, PastTheLimitTheSamplesMoveBehindAnRf64Header) {
    TempDir dir;
    const std::uint64_t limit = 100000;
    // Exactly at the limit the file stays RIFF; one byte more, reached in the middle of a
    // piece, and all that was written moves behind the larger header.
    bool rf64 = true;
    const auto atLimit = Ramp(limit);
    EXPECT_EQ(Streamed(dir.File("a.wav"), atLimit, 30000, limit, &rf64).substr(0, 4), "RIFF");
    EXPECT_FALSE(rf64);
    for (const std::size_t n : {std::size_t{limit + 1}, std::size_t{3 * limit + 2}}) {
        const auto samples = Ramp(n);
        const std::string file = Streamed(dir.File("b.wav"), samples, 70001, limit, &rf64);
        EXPECT_TRUE(rf64);
        const std::uint64_t pad = n & 1;
        ASSERT_EQ(file.size(), kRf64HeaderSize + n + pad);
        EXPECT_EQ(file.substr(0, 4), "RF64");
        EXPECT_EQ(Le(file, 4, 4), 0xFFFFFFFFu);
        EXPECT_EQ(file.substr(8, 8), "WAVEds64");
        EXPECT_EQ(Le(file, 16, 4), 28u);
        EXPECT_EQ(Le(file, 20, 8), file.size() - 8); // the RF64 chunk
        EXPECT_EQ(Le(file, 28, 8), n);               // the data chunk
        EXPECT_EQ(Le(file, 36, 8), n);               // the samples
        EXPECT_EQ(file.substr(48, 4), "fmt ");
        EXPECT_EQ(file.substr(72, 4), "data");
        EXPECT_EQ(Le(file, 76, 4), 0xFFFFFFFFu);
        EXPECT_EQ(file.substr(kRf64HeaderSize, n), std::string(samples.begin(), samples.end()));
        // An independent reader takes it as the same samples.
        int container = 0;
        EXPECT_EQ(ReadBack(dir.File("b.wav"), &container), samples);
        EXPECT_EQ(container, SF_FORMAT_RF64);
    }
}

TEST(WaveStream, HeadersAtTheRealLimit) {
    // The largest RIFF file: its RIFF size is the last value 32 bits hold but one, since odd
    // data would need a pad byte past it.
    const std::string riff = WaveStreamHeader(kRiffMaxDataBytes, 16000, false);
    ASSERT_EQ(riff.size(), kRiffHeaderSize);
    EXPECT_EQ(Le(riff, 4, 4), 0xFFFFFFFEu);
    EXPECT_EQ(Le(riff, 40, 4), kRiffMaxDataBytes);
    EXPECT_EQ(kRiffHeaderSize - 8 + (kRiffMaxDataBytes + 1) + 1, 0x100000000u);
    // The export of the fault report: 4,482,224,000 data bytes, far past it.
    const std::uint64_t big = 4482224000u;
    const std::string rf64 = WaveStreamHeader(big, 16000, true);
    ASSERT_EQ(rf64.size(), kRf64HeaderSize);
    EXPECT_EQ(Le(rf64, 20, 8), big + kRf64HeaderSize - 8);
    EXPECT_EQ(Le(rf64, 28, 8), big);
}

// A file size limit stands in for a full disk: the write fails part way (EFBIG) in every
// format, and the reason is the system's, not the encoder's "internal error". The signal that
// would end the process is ignored so that the failure comes back as an error.
TEST(AudioFileWriter, AFailedWriteSaysWhyInEveryFormatAndLeavesNoFile) {
    TempDir dir;
    const auto samples = Ramp(16000 * 60);
    for (const char* name : {"x.wav", "x.flac", "x.ogg", "x.opus", "x.mp3"}) {
        rlimit saved{};
        ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 8192;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
        std::string error;
        bool ok = false;
        {
            AudioFileWriter writer;
            const std::string path = dir.File(name);
            ok = writer.Open(path, *AudioFormatForPath(path), 16000, error) &&
                 writer.Write(samples.data(), samples.size(), error) && writer.Finish(error);
        }
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
        EXPECT_FALSE(ok) << name;
        EXPECT_NE(error.find(std::strerror(EFBIG)), std::string::npos) << name << ": " << error;
        EXPECT_NE(error.find(dir.File(name)), std::string::npos) << error;
        EXPECT_TRUE(std::filesystem::is_empty(dir.path())) << name;
    }
}

// The natural voice's 16-bit sound: WAVE keeps it as 16-bit PCM (the header says so, the data
// is the samples little-endian, RF64 counts samples, not bytes), FLAC gives it back exactly, and
// every lossy format opens with the same length; an 8-bit write to it is refused.
TEST(AudioFileWriter, SixteenBitSoundInEveryFormat) {
    TempDir dir;
    std::vector<std::int16_t> samples(20000);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<std::int16_t>(static_cast<int>(i * 997 % 60001) - 30000);
    }
    for (const char* ext : {".wav", ".flac", ".ogg", ".opus", ".mp3"}) {
        const std::string path = dir.File(std::string("s") + ext);
        AudioFileWriter writer;
        std::string error;
        ASSERT_TRUE(writer.Open(path, *AudioFormatForPath(path), 16000, SampleBits::Sixteen, error))
            << error;
        // In two pieces, the first odd, so that no sample is split across buffers.
        ASSERT_TRUE(writer.Write(samples.data(), 7777, error)) << error;
        ASSERT_TRUE(writer.Write(samples.data() + 7777, samples.size() - 7777, error)) << error;
        ASSERT_TRUE(writer.Finish(error)) << ext << ": " << error;
        SF_INFO info{};
        SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
        ASSERT_NE(file, nullptr) << ext;
        std::vector<short> back(static_cast<std::size_t>(info.frames));
        sf_read_short(file, back.data(), info.frames);
        sf_close(file);
        EXPECT_EQ(info.samplerate, 16000) << ext;
        EXPECT_EQ(info.channels, 1) << ext;
        if (std::string(ext) == ".wav" || std::string(ext) == ".flac") {
            EXPECT_EQ(info.format & SF_FORMAT_SUBMASK, SF_FORMAT_PCM_16) << ext;
            EXPECT_TRUE(std::equal(back.begin(), back.end(), samples.begin(), samples.end()))
                << ext;
        } else {
            // Lossy encoders may pad the end by a frame of their own.
            EXPECT_GE(back.size(), samples.size()) << ext;
            EXPECT_LT(back.size(), samples.size() + 4096) << ext;
        }
    }
    const std::string wav = ReadFile(dir.File("s.wav"));
    EXPECT_EQ(wav.size(), kRiffHeaderSize + 2 * samples.size());
    EXPECT_EQ(Le(wav, 28, 4), 32000u); // bytes a second
    EXPECT_EQ(Le(wav, 32, 2), 2u);     // bytes a frame
    EXPECT_EQ(Le(wav, 34, 2), 16u);    // bits a sample
    const std::string rf64 = WaveStreamHeader(2 * 1000, 16000, true, 2);
    EXPECT_EQ(Le(rf64, 28, 8), 2000u); // the ds64 chunk's data bytes
    EXPECT_EQ(Le(rf64, 36, 8), 1000u); // and its sample count

    AudioFileWriter eight;
    std::string error;
    ASSERT_TRUE(eight.Open(dir.File("e.wav"), AudioFormat::Wav, 16000, error)) << error;
    EXPECT_FALSE(eight.Write(samples.data(), 10, error));
    EXPECT_FALSE(std::filesystem::exists(dir.File("e.wav")));
}

TEST(ExportJob, AnExportThatReadsNothingIsRefusedInEveryFormat) {
    test::TestReading run;
    TempDir dir;
    const std::string text = Sjis("あい");
    struct Range {
        std::size_t from, to;
    };
    // At the end, past a one-character range's middle, and a text of nothing.
    const Range ranges[] = {{4, 4}, {1, 2}, {0, 0}};
    for (const char* ext : {".wav", ".flac", ".ogg", ".opus", ".mp3"}) {
        for (const Range& r : ranges) {
            ExportRequest request(run.Setup());
            request.text = r.from == 0 && r.to == 0 ? std::string_view() : text;
            request.from = CharBoundaryAtOrAfter(request.text, r.from);
            request.to = CharBoundaryAtOrAfter(request.text, r.to);
            const ExportOutputs outputs{dir.File(std::string("e") + ext), dir.File("e.srt"),
                                        dir.File("e.json")};
            const ExportJobResult result = RunExportJob(request, outputs);
            EXPECT_EQ(result.status, ExportStatus::Failed) << ext << " " << r.from;
            EXPECT_TRUE(result.nothingToExport);
            EXPECT_NE(result.error.find("nothing to export"), std::string::npos) << result.error;
            EXPECT_TRUE(std::filesystem::is_empty(dir.path())) << ext << " " << r.from;
        }
    }
    // A range that reads only a line end has no unit either, and one of silent bytes (kanji
    // the dictionary reading does not know) or of pauses says nothing; one kana is a whole file.
    const std::string lineEnd = "\r\n";
    ExportRequest request(run.Setup());
    request.text = lineEnd;
    const ExportOutputs outputs{dir.File("n.flac"), dir.File("n.srt"), dir.File("n.json")};
    EXPECT_TRUE(RunExportJob(request, outputs).nothingToExport);
    for (const char* nothing : {"鬱鬱\r\n鬱", "　。\r\n、"}) {
        const std::string silent = Sjis(nothing);
        request.text = silent;
        request.readings = 0;
        const ExportJobResult result = RunExportJob(request, outputs);
        EXPECT_EQ(result.status, ExportStatus::Failed) << nothing;
        EXPECT_TRUE(result.nothingToExport) << nothing << ": " << result.error;
        EXPECT_TRUE(std::filesystem::is_empty(dir.path())) << nothing;
    }
    const std::string kana = Sjis("あ");
    request.text = kana;
    const ExportJobResult one = RunExportJob(request, outputs);
    EXPECT_EQ(one.status, ExportStatus::Done) << one.error;
    EXPECT_EQ(static_cast<std::int64_t>(ReadBack(dir.File("n.flac")).size()), one.samples);
    EXPECT_GT(one.samples, 0);
}

} // namespace
} // namespace yomi6
