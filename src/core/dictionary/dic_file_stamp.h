// What a dictionary file looked like when it was read, to tell later whether someone else has
// saved it since: its modification time, size and identity, and a hash of its content.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace yomi6 {

struct DicFileStamp {
    bool exists = false;
    std::uint64_t size = 0;
    std::int64_t mtimeNs = 0;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t hash = 0; // of the whole content
};

// 64-bit FNV-1a of bytes.
std::uint64_t ContentHash(std::string_view bytes);

// The stamp of the file at path with the content just read from it (an absent file when
// exists is false).
DicFileStamp StampOf(const std::string& path, std::string_view content, bool exists);

// True when the file at path differs from what stamp describes: it appeared, disappeared, or
// its content changed. A file only touched (new time, same bytes) counts as unchanged.
bool DictionaryFileChanged(const std::string& path, const DicFileStamp& stamp);

} // namespace yomi6
