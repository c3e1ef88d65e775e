#include "dictionary/dic_file_stamp.h"

#include "dictionary/dic_file_save.h"
#include "io/atomic_file.h"

#include <sys/stat.h>

namespace yomi6 {

namespace {

bool StatFile(const std::string& path, DicFileStamp& stamp) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return false;
    }
    stamp.size = static_cast<std::uint64_t>(st.st_size);
    stamp.mtimeNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 +
                    static_cast<std::int64_t>(st.st_mtim.tv_nsec);
    stamp.device = static_cast<std::uint64_t>(st.st_dev);
    stamp.inode = static_cast<std::uint64_t>(st.st_ino);
    return true;
}

} // namespace

std::uint64_t ContentHash(std::string_view bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

DicFileStamp StampOf(const std::string& path, std::string_view content, bool exists) {
    DicFileStamp stamp;
    if (exists && StatFile(path, stamp)) {
        stamp.exists = true;
        stamp.hash = ContentHash(content);
    }
    return stamp;
}

bool DictionaryFileChanged(const std::string& path, const DicFileStamp& stamp) {
    DicFileStamp now;
    now.exists = StatFile(path, now);
    // Time and size alone cannot tell: two saves within one tick of the file system's clock
    // leave the same time, and a save of the same length the same size. The content decides.
    if (now.exists != stamp.exists || now.size != stamp.size) {
        return true;
    }
    std::string bytes;
    if (!now.exists) {
        return false;
    }
    if (ReadWholeFile(path, kMaxSavedDictionaryFileBytes, bytes) != ReadStatus::Read) {
        return true;
    }
    return ContentHash(bytes) != stamp.hash;
}

} // namespace yomi6
