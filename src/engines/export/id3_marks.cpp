#include "export/id3_marks.h"

#include <algorithm>

namespace yomi6 {

namespace {

constexpr std::uint32_t kMaxSynchsafe = (1u << 28) - 1;
constexpr std::size_t kMaxChapters = 255; // the table of contents counts them in a byte
constexpr char kUtf8 = 3;

void PutBe32(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
}

// A frame of ID3v2.4: its id, synchsafe size, no flags, body.
std::string Frame(std::string_view id, std::string_view body) {
    std::string out(id);
    out += Synchsafe(static_cast<std::uint32_t>(body.size()));
    out.append(2, '\0');
    out += body;
    return out;
}

std::string TitleFrame(std::string_view title) {
    std::string body(1, kUtf8);
    body += title;
    return Frame("TIT2", body);
}

std::string ElementId(std::size_t number) {
    return "chp" + std::to_string(number);
}

std::uint32_t Ms(std::int64_t ms) {
    return static_cast<std::uint32_t>(std::clamp<std::int64_t>(ms, 0, 0xFFFFFFFE));
}

} // namespace

std::string Synchsafe(std::uint32_t value) {
    std::string out;
    for (int shift = 21; shift >= 0; shift -= 7) {
        out.push_back(static_cast<char>((value >> shift) & 0x7F));
    }
    return out;
}

bool ChapterTag(const std::vector<ChapterMark>& marks, std::string& tag, std::string& error) {
    tag.clear();
    if (marks.empty()) {
        return true;
    }
    if (marks.size() > kMaxChapters) {
        error = "an MP3 file holds at most " + std::to_string(kMaxChapters) + " chapter marks";
        return false;
    }
    std::string toc("toc");
    toc.push_back('\0');
    toc.push_back(0x03); // the top level, ordered
    toc.push_back(static_cast<char>(marks.size()));
    std::string frames;
    for (std::size_t i = 0; i < marks.size(); ++i) {
        const std::string id = ElementId(i + 1);
        toc += id;
        toc.push_back('\0');
        std::string chap = id;
        chap.push_back('\0');
        PutBe32(chap, Ms(marks[i].startMs));
        PutBe32(chap, Ms(marks[i].endMs));
        PutBe32(chap, 0xFFFFFFFF); // no byte offsets: the times count
        PutBe32(chap, 0xFFFFFFFF);
        chap += TitleFrame(marks[i].title);
        frames += Frame("CHAP", chap);
    }
    const std::string body = Frame("CTOC", toc) + frames;
    if (body.size() > kMaxSynchsafe) {
        error = "the chapter marks do not fit in an ID3 tag";
        return false;
    }
    tag = "ID3";
    tag.push_back(4); // version 2.4.0
    tag.push_back(0);
    tag.push_back(0); // no flags
    tag += Synchsafe(static_cast<std::uint32_t>(body.size()));
    tag += body;
    return true;
}

bool Id3TagLength(std::string_view head, std::size_t& length, std::string& error) {
    length = 0;
    if (!head.starts_with("ID3")) {
        return true;
    }
    if (head.size() < 10) {
        error = "the MP3 file's ID3 tag is cut short";
        return false;
    }
    std::uint32_t size = 0;
    for (std::size_t i = 6; i < 10; ++i) {
        const auto b = static_cast<unsigned char>(head[i]);
        if ((b & 0x80) != 0) {
            error = "the MP3 file's ID3 tag has a damaged size";
            return false;
        }
        size = (size << 7) | b;
    }
    const bool footer = (static_cast<unsigned char>(head[5]) & 0x10) != 0;
    length = 10 + std::size_t{size} + (footer ? 10 : 0);
    return true;
}

} // namespace yomi6
