#include "export/flac_marks.h"

#include <cstdint>

namespace yomi6 {

namespace {

constexpr int kStreamInfo = 0;
constexpr int kPadding = 1;
constexpr int kVorbisComment = 4;
constexpr std::size_t kMaxBlock = (1u << 24) - 1; // a block's length has 24 bits

void PutBlock(std::string& out, int type, bool last, std::string_view body) {
    out.push_back(static_cast<char>((last ? 0x80 : 0) | type));
    for (int shift = 16; shift >= 0; shift -= 8) {
        out.push_back(static_cast<char>((body.size() >> shift) & 0xFF));
    }
    out += body;
}

} // namespace

bool FlacWithChapters(std::string_view head, const std::vector<ChapterMark>& marks,
                      std::string& out, std::size_t& audioStart, std::string& error) {
    if (!head.starts_with("fLaC")) {
        error = "not a FLAC file";
        return false;
    }
    struct Block {
        int type;
        std::string_view body;
    };
    std::vector<Block> blocks;
    std::size_t at = 4;
    for (bool last = false; !last;) {
        if (at + 4 > head.size()) {
            error = "the FLAC metadata is cut short";
            return false;
        }
        const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(head[at + i]); };
        last = (byte(0) & 0x80) != 0;
        const int type = byte(0) & 0x7F;
        const std::size_t length =
            (std::size_t{byte(1)} << 16) | (std::size_t{byte(2)} << 8) | byte(3);
        if (head.size() - at - 4 < length) {
            error = "the FLAC metadata is cut short";
            return false;
        }
        blocks.push_back({type, head.substr(at + 4, length)});
        at += 4 + length;
    }
    if (blocks.front().type != kStreamInfo) {
        error = "the FLAC file does not start with its stream information";
        return false;
    }
    std::string comments;
    bool hadComments = false;
    for (const Block& block : blocks) {
        if (block.type == kVorbisComment && !hadComments) {
            std::size_t end = 0;
            if (!AddChapterComments(block.body, marks, comments, end, error)) {
                error.insert(0, "the FLAC ");
                return false;
            }
            hadComments = true;
        }
    }
    if (!hadComments) {
        comments = ChapterCommentList("yomi6", marks);
    }
    if (comments.size() > kMaxBlock) {
        error = "too many chapter marks for a FLAC comment block";
        return false;
    }
    out = "fLaC";
    for (const Block& block : blocks) {
        if (block.type != kPadding && block.type != kVorbisComment) {
            PutBlock(out, block.type, false, block.body);
        }
    }
    PutBlock(out, kVorbisComment, true, comments);
    audioStart = at;
    return true;
}

} // namespace yomi6
