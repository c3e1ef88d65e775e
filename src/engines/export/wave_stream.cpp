#include "export/wave_stream.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace yomi6 {

namespace {

constexpr std::size_t kBufferBytes = 1 << 16;
constexpr std::size_t kMoveBlock = 1 << 20;
// The fixed sizes of the chunks before the data: "fmt " holds 16 bytes, "ds64" 28.
constexpr std::uint32_t kFormatSize = 16;
constexpr std::uint32_t kDs64Size = 28;

void Put32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<char>(v >> (8 * i) & 0xFF));
    }
}

void Put64(std::string& out, std::uint64_t v) {
    Put32(out, static_cast<std::uint32_t>(v));
    Put32(out, static_cast<std::uint32_t>(v >> 32));
}

bool WriteAt(int fd, const void* data, std::size_t size, std::uint64_t offset, std::string& error) {
    const auto* p = static_cast<const unsigned char*>(data);
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, p, size, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            error = std::strerror(n < 0 ? errno : EIO);
            return false;
        }
        p += n;
        size -= static_cast<std::size_t>(n);
        offset += static_cast<std::uint64_t>(n);
    }
    return true;
}

bool ReadAt(int fd, void* data, std::size_t size, std::uint64_t offset, std::string& error) {
    auto* p = static_cast<unsigned char*>(data);
    while (size > 0) {
        const ssize_t n = ::pread(fd, p, size, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            error = n < 0 ? std::strerror(errno) : "the file is shorter than what was written";
            return false;
        }
        p += n;
        size -= static_cast<std::size_t>(n);
        offset += static_cast<std::uint64_t>(n);
    }
    return true;
}

// A descriptor that reads the file fd writes: fd itself when it was opened for reading too, else
// the same file opened again through /proc (the temporary files are opened for writing only).
class Reader {
public:
    explicit Reader(int fd) {
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags >= 0 && (flags & O_ACCMODE) == O_RDWR) {
            m_fd = fd;
            return;
        }
        m_own = ::open(("/proc/self/fd/" + std::to_string(fd)).c_str(), O_RDONLY | O_CLOEXEC);
        m_fd = m_own;
    }
    ~Reader() {
        if (m_own >= 0) {
            ::close(m_own);
        }
    }
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;
    int Fd() const { return m_fd; }

private:
    int m_fd = -1;
    int m_own = -1;
};

} // namespace

std::string WaveStreamHeader(std::uint64_t dataBytes, int sampleRate, bool rf64,
                             int bytesPerSample) {
    const auto width = static_cast<std::uint32_t>(bytesPerSample == 2 ? 2 : 1);
    const std::uint64_t pad = dataBytes & 1;
    std::string out;
    out.reserve(kRf64HeaderSize);
    if (rf64) {
        out += "RF64";
        Put32(out, 0xFFFFFFFFu);
        out += "WAVEds64";
        Put32(out, kDs64Size);
        Put64(out, kRf64HeaderSize - 8 + dataBytes + pad); // the RF64 chunk's size
        Put64(out, dataBytes);
        Put64(out, dataBytes / width); // the sample count
        Put32(out, 0);                 // no table of other chunks' sizes
    } else {
        out += "RIFF";
        Put32(out, static_cast<std::uint32_t>(kRiffHeaderSize - 8 + dataBytes + pad));
        out += "WAVE";
    }
    out += "fmt ";
    Put32(out, kFormatSize);
    const auto rate = static_cast<std::uint32_t>(sampleRate);
    out += std::string("\x01\x00\x01\x00", 4); // PCM, one channel
    Put32(out, rate);
    Put32(out, rate * width);                // bytes a second
    out.push_back(static_cast<char>(width)); // bytes a frame
    out.push_back('\0');
    out.push_back(static_cast<char>(8 * width)); // bits a sample
    out.push_back('\0');
    out += "data";
    Put32(out, rf64 ? 0xFFFFFFFFu : static_cast<std::uint32_t>(dataBytes));
    return out;
}

bool WaveStream::Start(int fd, int sampleRate, std::string& error, int bytesPerSample) {
    m_fd = fd;
    m_sampleRate = sampleRate;
    m_bytesPerSample = bytesPerSample == 2 ? 2 : 1;
    m_rf64 = false;
    m_dataBytes = 0;
    m_buffer.clear();
    m_buffer.reserve(kBufferBytes);
    const std::string header = WaveStreamHeader(0, sampleRate, false, m_bytesPerSample);
    return WriteAt(m_fd, header.data(), header.size(), 0, error);
}

bool WaveStream::Write(const unsigned char* samples, std::size_t count, std::string& error) {
    return WriteBytes(samples, count, error);
}

bool WaveStream::Write(const std::int16_t* samples, std::size_t count, std::string& error) {
    // WAVE holds its samples little-endian whatever the machine's order.
    std::array<unsigned char, 4096> bytes{};
    while (count > 0) {
        const std::size_t n = std::min(count, bytes.size() / 2);
        for (std::size_t i = 0; i < n; ++i) {
            const auto v = static_cast<std::uint16_t>(samples[i]);
            bytes[2 * i] = static_cast<unsigned char>(v & 0xFF);
            bytes[2 * i + 1] = static_cast<unsigned char>(v >> 8);
        }
        if (!WriteBytes(bytes.data(), 2 * n, error)) {
            return false;
        }
        samples += n;
        count -= n;
    }
    return true;
}

bool WaveStream::WriteBytes(const unsigned char* samples, std::size_t count, std::string& error) {
    if (!m_rf64 && m_dataBytes + count > m_riffLimit && !MoveToRf64(error)) {
        return false;
    }
    while (count > 0) {
        const std::size_t n = std::min(count, kBufferBytes - m_buffer.size());
        m_buffer.insert(m_buffer.end(), samples, samples + n);
        m_dataBytes += n;
        samples += n;
        count -= n;
        if (m_buffer.size() == kBufferBytes && !Flush(error)) {
            return false;
        }
    }
    return true;
}

bool WaveStream::Flush(std::string& error) {
    const std::uint64_t written = m_dataBytes - m_buffer.size();
    const bool ok = WriteAt(m_fd, m_buffer.data(), m_buffer.size(), HeaderSize() + written, error);
    m_buffer.clear();
    return ok;
}

bool WaveStream::MoveToRf64(std::string& error) {
    if (!Flush(error)) {
        return false;
    }
    const Reader reader(m_fd);
    if (reader.Fd() < 0) {
        error = std::string("cannot read the file back to make room for the RF64 header: ") +
                std::strerror(errno);
        return false;
    }
    // From the end backwards, so that no block is overwritten before it has been moved.
    std::vector<unsigned char> block(static_cast<std::size_t>(
        std::min<std::uint64_t>(std::max<std::uint64_t>(m_dataBytes, 1), kMoveBlock)));
    std::uint64_t left = m_dataBytes;
    while (left > 0) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(left, block.size()));
        left -= n;
        if (!ReadAt(reader.Fd(), block.data(), n, kRiffHeaderSize + left, error) ||
            !WriteAt(m_fd, block.data(), n, kRf64HeaderSize + left, error)) {
            return false;
        }
    }
    m_rf64 = true;
    return true;
}

bool WaveStream::Finish(std::string& error) {
    if (!Flush(error)) {
        return false;
    }
    if ((m_dataBytes & 1) != 0) {
        const unsigned char pad = 0;
        if (!WriteAt(m_fd, &pad, 1, HeaderSize() + m_dataBytes, error)) {
            return false;
        }
    }
    const std::string header =
        WaveStreamHeader(m_dataBytes, m_sampleRate, m_rf64, m_bytesPerSample);
    return WriteAt(m_fd, header.data(), header.size(), 0, error);
}

} // namespace yomi6
