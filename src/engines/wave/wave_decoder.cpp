// One reader for every WAVE file the program takes: the chunk walk and the format's checks are
// written once, and what is decoded or located is read from their result.
#include "wave/wave_decoder.h"

#include "wave/riff_fields.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace yomi6 {

namespace {

using riff::IdIs;
using riff::kChunkHeaderSize;
using riff::kRiffHeaderSize;
using riff::Le16;
using riff::Le32;

constexpr std::uint32_t kPcm = riff::kPcmTag;
constexpr std::uint32_t kFloat = 3;
constexpr std::uint32_t kExtensible = 0xFFFE;
constexpr std::uint32_t kMinRate = 1000;
constexpr std::uint32_t kMaxRate = 384000;
constexpr std::uint32_t kMaxChannels = 8;
// Writers that stream a file they cannot seek back in leave this in the size fields.
constexpr std::uint32_t kUnknownSize = 0xFFFFFFFF;
// The tail every extensible sub-format GUID of the standard encodings shares.
constexpr unsigned char kGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                         0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

// The samples' one layout: a 16-byte "fmt " chunk right after the RIFF header, the sound right
// after it, and a rate below what the general reader takes.
constexpr std::size_t kSampleFmtSize = 16;
constexpr std::size_t kSampleDataOffset = kRiffHeaderSize + 2 * kChunkHeaderSize + kSampleFmtSize;
constexpr int kMaxSampleRate = 192000;

WaveLayoutResult Fail(WaveError error, std::string detail) {
    WaveLayoutResult r;
    r.error = error;
    r.detail = std::move(detail);
    return r;
}

// The decoder's refusal: the reader's, or one of its own made by Fail.
WaveDecodeResult Refused(WaveLayoutResult failure) {
    WaveDecodeResult r;
    r.error = failure.error;
    r.detail = std::move(failure.detail);
    return r;
}

struct Format {
    std::uint32_t encoding = 0; // kPcm or kFloat
    std::uint32_t channels = 0;
    std::uint32_t rate = 0;
    std::uint32_t bits = 0; // container bits per sample
};

// Reads the "fmt " chunk body; an error result when it is not one this reader takes.
WaveLayoutResult ReadFormat(const unsigned char* fmt, std::size_t size, Format& out) {
    if (size < 16) {
        return Fail(WaveError::NoFormat,
                    "the \"fmt \" chunk is " + std::to_string(size) + " bytes, shorter than 16");
    }
    std::uint32_t tag = Le16(fmt);
    const std::uint32_t channels = Le16(fmt + 2);
    const std::uint32_t rate = Le32(fmt + 4);
    const std::uint32_t byteRate = Le32(fmt + 8);
    const std::uint32_t blockAlign = Le16(fmt + 12);
    const std::uint32_t bits = Le16(fmt + 14);
    if (tag == kExtensible) {
        if (size < 40 || Le16(fmt + 16) < 22) {
            return Fail(WaveError::HeaderMismatch,
                        "the extensible format's \"fmt \" chunk is too short");
        }
        const unsigned char* guid = fmt + 24;
        if (std::memcmp(guid + 2, kGuidTail, sizeof kGuidTail) != 0) {
            return Fail(WaveError::Unsupported,
                        "an extensible sub-format that is not PCM or float");
        }
        tag = Le16(guid);
    }
    if (tag != kPcm && tag != kFloat) {
        return Fail(WaveError::Unsupported,
                    "encoding " + std::to_string(tag) + " (only PCM and float are read)");
    }
    if (channels == 0 || channels > kMaxChannels) {
        return Fail(WaveError::Unsupported, std::to_string(channels) + " channels (1 to " +
                                                std::to_string(kMaxChannels) + " are read)");
    }
    if (rate < kMinRate || rate > kMaxRate) {
        return Fail(WaveError::Unsupported,
                    "a sample rate of " + std::to_string(rate) + " Hz (1000 to 384000 are read)");
    }
    const bool bitsOk = tag == kPcm ? (bits == 8 || bits == 16 || bits == 24 || bits == 32)
                                    : (bits == 32 || bits == 64);
    if (!bitsOk) {
        return Fail(WaveError::Unsupported,
                    std::to_string(bits) + "-bit " + (tag == kPcm ? "PCM" : "float") + " samples");
    }
    if (blockAlign != channels * (bits / 8)) {
        return Fail(WaveError::HeaderMismatch,
                    "the frame size is " + std::to_string(blockAlign) + " bytes, but " +
                        std::to_string(channels) + " channels of " + std::to_string(bits) +
                        " bits need " + std::to_string(channels * (bits / 8)));
    }
    if (static_cast<std::uint64_t>(byteRate) != static_cast<std::uint64_t>(rate) * blockAlign) {
        return Fail(WaveError::HeaderMismatch,
                    "the byte rate is " + std::to_string(byteRate) + ", but " +
                        std::to_string(rate) + " Hz frames of " + std::to_string(blockAlign) +
                        " bytes make " + std::to_string(std::uint64_t{rate} * blockAlign));
    }
    out = Format{tag, channels, rate, bits};
    return {};
}

float SampleAt(const unsigned char* p, const Format& f) {
    switch (f.bits) {
    case 8:
        return (static_cast<float>(p[0]) - 128.0F) / 128.0F;
    case 16:
        return static_cast<float>(static_cast<std::int16_t>(Le16(p))) / 32768.0F;
    case 24: {
        const std::uint32_t u = Le16(p) | (static_cast<std::uint32_t>(p[2]) << 16);
        const auto v = static_cast<std::int32_t>(u << 8) >> 8;
        return static_cast<float>(v) / 8388608.0F;
    }
    case 32:
        if (f.encoding == kFloat) {
            float v = 0;
            const std::uint32_t u = Le32(p);
            std::memcpy(&v, &u, sizeof v);
            return v;
        }
        return static_cast<float>(static_cast<double>(static_cast<std::int32_t>(Le32(p))) /
                                  2147483648.0);
    default: { // 64-bit float
        const std::uint64_t u = Le32(p) | (static_cast<std::uint64_t>(Le32(p + 4)) << 32);
        double v = 0;
        std::memcpy(&v, &u, sizeof v);
        return static_cast<float>(v);
    }
    }
}

} // namespace

WaveLayoutResult ReadWaveLayout(std::span<const unsigned char> bytes) {
    const unsigned char* data = bytes.data();
    const std::size_t size = bytes.size();
    if (size < kRiffHeaderSize || !IdIs(data, "RIFF") || !IdIs(data + 8, "WAVE")) {
        return Fail(WaveError::NotRiff, "not a RIFF/WAVE file");
    }
    std::uint64_t formEnd = std::uint64_t{Le32(data + 4)} + 8;
    const bool formSizeUnknown = Le32(data + 4) == kUnknownSize;
    if (formSizeUnknown) {
        formEnd = size;
    } else if (formEnd > size) {
        return Fail(WaveError::Truncated, "the header declares " + std::to_string(formEnd) +
                                              " bytes, but the file holds " + std::to_string(size));
    }

    Format format;
    bool haveFormat = false;
    std::size_t formatOffset = 0;
    std::size_t formatSize = 0;
    std::size_t pos = kRiffHeaderSize;
    while (pos + kChunkHeaderSize <= formEnd) {
        const unsigned char* chunk = data + pos;
        const std::uint32_t declared = Le32(chunk + 4);
        const std::size_t body = pos + kChunkHeaderSize;
        const bool isData = IdIs(chunk, "data");
        std::uint64_t length = declared;
        if (isData && declared == kUnknownSize) {
            length = formEnd - body;
        }
        if (body + length > formEnd) {
            return Fail(WaveError::Truncated,
                        "the \"" + std::string(reinterpret_cast<const char*>(chunk), 4) +
                            "\" chunk declares " + std::to_string(length) + " bytes, but only " +
                            std::to_string(formEnd - body) + " follow it");
        }
        if (IdIs(chunk, "fmt ")) {
            if (WaveLayoutResult r = ReadFormat(chunk + kChunkHeaderSize, length, format); !r) {
                return r;
            }
            haveFormat = true;
            formatOffset = pos;
            formatSize = static_cast<std::size_t>(length);
        } else if (isData) {
            if (!haveFormat) {
                return Fail(WaveError::NoFormat, "the sound comes before its \"fmt \" chunk");
            }
            WaveLayoutResult r;
            WaveLayout& l = r.layout;
            l.isFloat = format.encoding == kFloat;
            l.sampleRate = static_cast<int>(format.rate);
            l.channels = static_cast<int>(format.channels);
            l.bitsPerSample = static_cast<int>(format.bits);
            l.formatOffset = formatOffset;
            l.formatSize = formatSize;
            l.dataOffset = body;
            l.dataSize = static_cast<std::size_t>(length);
            l.formEnd = formEnd;
            l.formSizeUnknown = formSizeUnknown;
            l.dataSizeUnknown = declared == kUnknownSize;
            return r;
        }
        pos = body + length + (length & 1U); // chunks are padded to an even size
    }
    return Fail(haveFormat ? WaveError::NoData : WaveError::NoFormat,
                haveFormat ? "no \"data\" chunk" : "no \"fmt \" chunk");
}

WaveDecodeResult DecodeWave(std::span<const unsigned char> bytes) {
    WaveLayoutResult located = ReadWaveLayout(bytes);
    if (!located) {
        return Refused(std::move(located));
    }
    const WaveLayout& l = located.layout;
    const Format format{l.isFloat ? kFloat : kPcm, static_cast<std::uint32_t>(l.channels),
                        static_cast<std::uint32_t>(l.sampleRate),
                        static_cast<std::uint32_t>(l.bitsPerSample)};
    const std::size_t frameSize = format.channels * (format.bits / 8);
    if (l.dataSize % frameSize != 0) {
        return Refused(Fail(WaveError::PartialFrame, "the sound is " + std::to_string(l.dataSize) +
                                                         " bytes, not a whole number of " +
                                                         std::to_string(frameSize) +
                                                         "-byte frames"));
    }
    const std::size_t frames = l.dataSize / frameSize;
    if (frames == 0) {
        return Refused(Fail(WaveError::Empty, "the file holds no sound"));
    }
    WaveDecodeResult r;
    r.wave.sampleRate = l.sampleRate;
    r.wave.channels = l.channels;
    r.wave.bitsPerSample = l.bitsPerSample;
    r.wave.isFloat = l.isFloat;
    r.wave.mono.resize(frames);
    const unsigned char* p = bytes.data() + l.dataOffset;
    const std::size_t sampleSize = format.bits / 8;
    const float scale = 1.0F / static_cast<float>(format.channels);
    for (std::size_t i = 0; i < frames; ++i) {
        float sum = 0;
        for (std::uint32_t c = 0; c < format.channels; ++c, p += sampleSize) {
            sum += SampleAt(p, format);
        }
        // Float files may hold anything: NaN and values past full scale are clipped.
        const float v = sum * scale;
        r.wave.mono[i] = v != v ? 0.0F : std::clamp(v, -1.0F, 1.0F);
    }
    return r;
}

std::optional<WaveInfo> ParseWave(const unsigned char* image, std::size_t size,
                                  std::string* error) {
    auto refuse = [error](std::string reason) -> std::optional<WaveInfo> {
        if (error != nullptr) {
            *error = std::move(reason);
        }
        return std::nullopt;
    };
    if (image == nullptr) {
        return refuse("too short for a RIFF header");
    }
    WaveLayoutResult located = ReadWaveLayout({image, size});
    if (!located) {
        return refuse(std::move(located.detail));
    }
    // The reader takes every common layout; the samples are kept in one, and anything beside
    // it is refused here.
    const WaveLayout& l = located.layout;
    if (l.formSizeUnknown) {
        return refuse("RIFF size runs past the end of the image");
    }
    if (l.formEnd < size) {
        return refuse("bytes follow the end of the RIFF form");
    }
    if (l.formatOffset != kRiffHeaderSize) {
        return refuse("first chunk is not \"fmt \"");
    }
    if (l.formatSize != kSampleFmtSize) {
        return refuse("\"fmt \" chunk is not 16 bytes");
    }
    if (l.isFloat) {
        return refuse("format tag is not PCM");
    }
    if (l.channels != 1) {
        return refuse("not one channel");
    }
    if (l.bitsPerSample != 8) {
        return refuse("not 8 bits per sample");
    }
    if (l.sampleRate > kMaxSampleRate) {
        return refuse("sample rate out of range");
    }
    if (l.dataOffset != kSampleDataOffset) {
        return refuse("chunk after \"fmt \" is not \"data\"");
    }
    if (l.dataSizeUnknown) {
        return refuse("\"data\" chunk runs past the end of the image");
    }
    // The sound ends the image, save for the pad byte that RIFF puts after a chunk of odd size.
    const std::size_t rest = size - l.dataOffset;
    const bool padded = l.dataSize % 2 == 1 && l.dataSize + 1 == rest;
    if (l.dataSize != rest && !padded) {
        return refuse("bytes follow the \"data\" chunk");
    }
    WaveInfo info;
    info.sampleRate = l.sampleRate;
    info.channels = l.channels;
    info.bitsPerSample = l.bitsPerSample;
    info.samples = image + l.dataOffset;
    info.sampleCount = l.dataSize;
    return info;
}

std::vector<unsigned char> EncodeWave16(std::span<const std::int16_t> pcm, int rate) {
    const auto dataSize = static_cast<std::uint32_t>(pcm.size() * 2);
    const auto r = static_cast<std::uint32_t>(rate);
    std::vector<unsigned char> out(44 + std::size_t{dataSize});
    std::size_t at = 0;
    auto put16 = [&](std::uint32_t v) {
        out[at++] = static_cast<unsigned char>(v & 0xFF);
        out[at++] = static_cast<unsigned char>((v >> 8) & 0xFF);
    };
    auto put32 = [&](std::uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    auto putId = [&](std::string_view id) {
        for (const char c : id) {
            out[at++] = static_cast<unsigned char>(c);
        }
    };
    putId("RIFF");
    put32(36 + dataSize);
    putId("WAVE");
    putId("fmt ");
    put32(16);
    put16(kPcm);
    put16(1);
    put32(r);
    put32(r * 2);
    put16(2);
    put16(16);
    putId("data");
    put32(dataSize);
    for (const std::int16_t s : pcm) {
        put16(static_cast<std::uint16_t>(s));
    }
    return out;
}

} // namespace yomi6
