// A mono PCM WAVE file (8-bit unsigned, or 16-bit signed little-endian) streamed to a descriptor.
// While its sizes fit the 32-bit fields of a RIFF header, the file is a plain 44-byte-header WAVE
// file, the same bytes any WAVE writer gives. A stream that outgrows them becomes RF64 (EBU Tech
// 3306): the 64-bit sizes go to a "ds64" chunk that must come before the format chunk, so the
// samples written so far are moved once, 36 bytes on, to make room for it. Only files past 4 GiB
// pay for that move.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace yomi6 {

// The most data bytes a RIFF WAVE file holds: its RIFF size (the 36 bytes of header after the
// size field, the data and the pad byte after odd data) must fit in 32 bits.
inline constexpr std::uint64_t kRiffMaxDataBytes = 0xFFFFFFFFull - 36 - 1;

inline constexpr std::size_t kRiffHeaderSize = 44;
inline constexpr std::size_t kRf64HeaderSize = 80;

// The header of a file of dataBytes bytes of samples at sampleRate: RIFF, or RF64 when rf64;
// bytesPerSample 1 (8-bit) or 2 (16-bit).
std::string WaveStreamHeader(std::uint64_t dataBytes, int sampleRate, bool rf64,
                             int bytesPerSample = 1);

class WaveStream {
public:
    // riffLimit: the most data bytes kept as RIFF. Only a check of the RF64 path on small files
    // passes a lower one.
    explicit WaveStream(std::uint64_t riffLimit = kRiffMaxDataBytes) : m_riffLimit(riffLimit) {}

    // Starts the file at the descriptor's offset 0, of 8-bit samples (bytesPerSample 1) or
    // 16-bit ones (2). Errors are the system's reason.
    bool Start(int fd, int sampleRate, std::string& error, int bytesPerSample = 1);
    // 8-bit samples, for a stream started with one byte a sample.
    bool Write(const unsigned char* samples, std::size_t count, std::string& error);
    // 16-bit samples, for a stream started with two bytes a sample.
    bool Write(const std::int16_t* samples, std::size_t count, std::string& error);
    // Writes the pad byte and the final header.
    bool Finish(std::string& error);

    bool IsRf64() const { return m_rf64; }
    std::uint64_t DataBytes() const { return m_dataBytes; }

private:
    bool Flush(std::string& error);
    bool WriteBytes(const unsigned char* bytes, std::size_t count, std::string& error);
    bool MoveToRf64(std::string& error);
    std::uint64_t HeaderSize() const { return m_rf64 ? kRf64HeaderSize : kRiffHeaderSize; }

    std::uint64_t m_riffLimit;
    int m_fd = -1;
    int m_sampleRate = 0;
    int m_bytesPerSample = 1;
    bool m_rf64 = false;
    std::uint64_t m_dataBytes = 0; // accepted, buffered ones included
    std::vector<unsigned char> m_buffer;
};

} // namespace yomi6
