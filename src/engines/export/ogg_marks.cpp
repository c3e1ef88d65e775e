#include "export/ogg_marks.h"

#include <algorithm>
#include <array>

namespace yomi6 {

namespace {

constexpr std::size_t kHeaderBytes = 27; // before the segment table
constexpr unsigned char kContinued = 0x01;
constexpr unsigned char kFirstPage = 0x02;
constexpr std::uint64_t kNoGranule = ~std::uint64_t{0};

const std::array<std::uint32_t, 256> kCrcTable = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t r = i << 24;
        for (int bit = 0; bit < 8; ++bit) {
            r = (r & 0x80000000u) != 0 ? (r << 1) ^ 0x04c11db7u : r << 1;
        }
        table[i] = r;
    }
    return table;
}();

std::uint32_t ReadLe32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

void SetLe32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

// The length of the page at the start of bytes, or 0 when it is not complete yet.
std::size_t PageLength(std::string_view bytes) {
    if (bytes.size() < kHeaderBytes) {
        return 0;
    }
    const std::size_t segments = static_cast<unsigned char>(bytes[26]);
    if (bytes.size() < kHeaderBytes + segments) {
        return 0;
    }
    std::size_t length = kHeaderBytes + segments;
    for (std::size_t i = 0; i < segments; ++i) {
        length += static_cast<unsigned char>(bytes[kHeaderBytes + i]);
    }
    return bytes.size() < length ? 0 : length;
}

// Sets the page's number and checksum.
void Seal(std::string& page, std::uint32_t sequence) {
    SetLe32(page, 18, sequence);
    SetLe32(page, 22, 0);
    SetLe32(page, 22, OggPageCrc(page));
}

// Pages the packets (the last one ending on the last page), numbered from sequence on.
void PutPackets(std::string& out, const std::vector<std::string>& packets, unsigned char flags,
                std::uint32_t serial, std::uint32_t& sequence) {
    std::vector<unsigned char> lacing;
    std::vector<bool> ends; // whether the segment ends a packet
    std::string data;
    for (const std::string& packet : packets) {
        std::size_t left = packet.size();
        for (; left >= 255; left -= 255) {
            lacing.push_back(255);
            ends.push_back(false);
        }
        lacing.push_back(static_cast<unsigned char>(left));
        ends.push_back(true);
        data += packet;
    }
    std::size_t segment = 0;
    std::size_t byte = 0;
    bool continued = false;
    while (segment < lacing.size()) {
        const std::size_t count = std::min<std::size_t>(255, lacing.size() - segment);
        std::string page = "OggS";
        page.push_back(0);
        page.push_back(static_cast<char>(flags | (continued ? kContinued : 0)));
        bool anyEnds = false;
        std::size_t length = 0;
        for (std::size_t i = segment; i < segment + count; ++i) {
            anyEnds = anyEnds || ends[i];
            length += lacing[i];
        }
        const std::uint64_t granule = anyEnds ? 0 : kNoGranule;
        for (int shift = 0; shift < 64; shift += 8) {
            page.push_back(static_cast<char>((granule >> shift) & 0xFF));
        }
        page.append(12, '\0');
        SetLe32(page, 14, serial);
        page.push_back(static_cast<char>(count));
        for (std::size_t i = segment; i < segment + count; ++i) {
            page.push_back(static_cast<char>(lacing[i]));
        }
        page.append(data, byte, length);
        Seal(page, sequence++);
        out += page;
        continued = !ends[segment + count - 1];
        segment += count;
        byte += length;
        flags = 0;
    }
}

} // namespace

std::uint32_t OggPageCrc(std::string_view page) {
    std::uint32_t crc = 0;
    for (std::size_t i = 0; i < page.size(); ++i) {
        const auto b = static_cast<unsigned char>(i >= 22 && i < 26 ? 0 : page[i]);
        crc = (crc << 8) ^ kCrcTable[((crc >> 24) ^ b) & 0xFF];
    }
    return crc;
}

bool OggChapterWriter::Feed(std::string_view bytes, std::string& out, std::string& error) {
    m_pending += bytes;
    std::size_t at = 0;
    while (true) {
        const std::string_view rest = std::string_view(m_pending).substr(at);
        if (rest.size() >= 4 && !rest.starts_with("OggS")) {
            error = "not an Ogg page where one should start";
            return false;
        }
        const std::size_t length = PageLength(rest);
        if (length == 0) {
            break;
        }
        if (!TakePage(rest.substr(0, length), out, error)) {
            return false;
        }
        at += length;
    }
    m_pending.erase(0, at);
    return true;
}

bool OggChapterWriter::Finish(std::string& error) const {
    if (!m_pending.empty()) {
        error = "the Ogg file ends inside a page";
        return false;
    }
    if (!m_headersDone) {
        error = "the Ogg file ends before its headers do";
        return false;
    }
    return true;
}

bool OggChapterWriter::TakePage(std::string_view page, std::string& out, std::string& error) {
    if (page[4] != 0 || ReadLe32(page, 22) != OggPageCrc(page)) {
        error = "an Ogg page is damaged (its checksum does not match)";
        return false;
    }
    if (!m_started) {
        m_started = true;
        m_serial = ReadLe32(page, 14);
    } else if (ReadLe32(page, 14) != m_serial) {
        error = "the Ogg file holds more than one stream";
        return false;
    }
    if (!m_headersDone) {
        return TakeHeaderPage(page, out, error);
    }
    std::string renumbered(page);
    Seal(renumbered, m_sequence++);
    out += renumbered;
    return true;
}

bool OggChapterWriter::TakeHeaderPage(std::string_view page, std::string& out, std::string& error) {
    const std::size_t segments = static_cast<unsigned char>(page[26]);
    std::size_t byte = kHeaderBytes + segments;
    for (std::size_t i = 0; i < segments; ++i) {
        if (m_headerCount != 0 && m_packets.size() == m_headerCount && !m_packetOpen) {
            error = "sound shares a page with the Ogg headers";
            return false;
        }
        const std::size_t length = static_cast<unsigned char>(page[kHeaderBytes + i]);
        if (!m_packetOpen) {
            m_packets.emplace_back();
            m_packetOpen = true;
        }
        m_packets.back().append(page.substr(byte, length));
        byte += length;
        if (length < 255) {
            m_packetOpen = false;
            if (m_packets.size() == 1) {
                if (m_packets[0].starts_with("OpusHead")) {
                    m_headerCount = 2;
                } else if (m_packets[0].starts_with("\x01vorbis")) {
                    m_headerCount = 3;
                } else {
                    error = "the Ogg file is neither Opus nor Vorbis";
                    return false;
                }
            }
        }
    }
    if (m_headerCount != 0 && m_packets.size() == m_headerCount && !m_packetOpen) {
        return WriteHeaders(out, error);
    }
    return true;
}

bool OggChapterWriter::WriteHeaders(std::string& out, std::string& error) {
    const std::string_view magic = m_headerCount == 2 ? "OpusTags" : "\x03vorbis";
    const std::string& tags = m_packets[1];
    if (!tags.starts_with(magic)) {
        error = "the Ogg file's second packet is not its comments";
        return false;
    }
    std::string list;
    std::size_t end = 0;
    if (!AddChapterComments(std::string_view(tags).substr(magic.size()), m_marks, list, end,
                            error)) {
        error.insert(0, "the Ogg ");
        return false;
    }
    // What follows the list (Vorbis: its framing bit) stays.
    m_packets[1] = std::string(magic) + list + tags.substr(magic.size() + end);
    PutPackets(out, {m_packets[0]}, kFirstPage, m_serial, m_sequence);
    PutPackets(out, std::vector<std::string>(m_packets.begin() + 1, m_packets.end()), 0, m_serial,
               m_sequence);
    m_headersDone = true;
    m_packets.clear();
    return true;
}

} // namespace yomi6
