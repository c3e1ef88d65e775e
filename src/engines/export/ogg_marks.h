// Chapter marks in an Ogg Opus or Ogg Vorbis file: CHAPTER comments in its comment header
// packet. The header packets are paged anew, and the pages after them keep their bytes but take
// new sequence numbers and checksums.
#pragma once

#include "export/chapter_marks.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace yomi6 {

// The checksum of an Ogg page (CRC-32, polynomial 0x04c11db7, no reflection, starting at 0),
// computed with the page's checksum field taken as zero.
std::uint32_t OggPageCrc(std::string_view page);

// Rewrites an Ogg Opus or Ogg Vorbis file of one stream piece by piece, as it is read.
class OggChapterWriter {
public:
    explicit OggChapterWriter(std::vector<ChapterMark> marks) : m_marks(std::move(marks)) {}

    // Takes the next bytes of the file and appends to out what replaces the pages complete so
    // far. False with the reason in error for what is no such file or is damaged.
    bool Feed(std::string_view bytes, std::string& out, std::string& error);
    // After the last bytes: false when the file ended inside a page or before its headers did.
    bool Finish(std::string& error) const;

private:
    bool TakePage(std::string_view page, std::string& out, std::string& error);
    bool TakeHeaderPage(std::string_view page, std::string& out, std::string& error);
    bool WriteHeaders(std::string& out, std::string& error);

    std::vector<ChapterMark> m_marks;
    std::string m_pending;              // bytes of a page not complete yet
    std::vector<std::string> m_packets; // the header packets, the last one perhaps still open
    bool m_packetOpen = false;
    std::size_t m_headerCount = 0; // 2 (Opus) or 3 (Vorbis) once the first packet is known
    bool m_headersDone = false;
    bool m_started = false;
    std::uint32_t m_serial = 0;
    std::uint32_t m_sequence = 0; // the next page's number
};

} // namespace yomi6
