#include "export/chapter_marks.h"

#include <cstdio>

namespace yomi6 {

namespace {

void PutLe32(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
}

bool ReadLe32(std::string_view bytes, std::size_t at, std::uint32_t& value) {
    if (at + 4 > bytes.size()) {
        return false;
    }
    value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return true;
}

void PutComment(std::string& out, std::string_view comment) {
    PutLe32(out, static_cast<std::uint32_t>(comment.size()));
    out += comment;
}

bool IsChapterKey(std::string_view comment) {
    if (comment.size() < 7) {
        return false;
    }
    for (std::size_t i = 0; i < 7; ++i) {
        if ((comment[i] & ~0x20) != "CHAPTER"[i]) {
            return false;
        }
    }
    return true;
}

std::string ChapterKey(std::size_t number) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "CHAPTER%03zu", number);
    return digits;
}

void PutChapters(std::string& out, const std::vector<ChapterMark>& marks) {
    for (std::size_t i = 0; i < marks.size(); ++i) {
        const std::string key = ChapterKey(i + 1);
        PutComment(out, key + "=" + ChapterCommentTime(marks[i].startMs));
        PutComment(out, key + "NAME=" + marks[i].title);
    }
}

} // namespace

std::string ChapterCommentTime(std::int64_t ms) {
    ms = ms < 0 ? 0 : ms;
    char text[96];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld.%03lld",
                  static_cast<long long>(ms / 3600000), static_cast<long long>(ms / 60000 % 60),
                  static_cast<long long>(ms / 1000 % 60), static_cast<long long>(ms % 1000));
    return text;
}

bool AddChapterComments(std::string_view list, const std::vector<ChapterMark>& marks,
                        std::string& out, std::size_t& end, std::string& error) {
    error = "the comment list is cut short";
    std::uint32_t vendorLength = 0;
    if (!ReadLe32(list, 0, vendorLength) || list.size() - 4 < vendorLength) {
        return false;
    }
    std::size_t at = 4 + vendorLength;
    std::uint32_t count = 0;
    if (!ReadLe32(list, at, count)) {
        return false;
    }
    at += 4;
    std::vector<std::string_view> kept;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t length = 0;
        if (!ReadLe32(list, at, length) || list.size() - at - 4 < length) {
            return false;
        }
        const std::string_view comment = list.substr(at + 4, length);
        at += 4 + length;
        if (!IsChapterKey(comment)) {
            kept.push_back(comment);
        }
    }
    out.assign(list.substr(0, 4 + vendorLength));
    PutLe32(out, static_cast<std::uint32_t>(kept.size() + 2 * marks.size()));
    for (const std::string_view comment : kept) {
        PutComment(out, comment);
    }
    PutChapters(out, marks);
    end = at;
    error.clear();
    return true;
}

std::string ChapterCommentList(std::string_view vendor, const std::vector<ChapterMark>& marks) {
    std::string out;
    PutComment(out, vendor);
    PutLe32(out, static_cast<std::uint32_t>(2 * marks.size()));
    PutChapters(out, marks);
    return out;
}

} // namespace yomi6
