#include "dictionary/dic_file_save.h"

#include "dictionary/dic_tables.h"
#include "io/atomic_file.h"

namespace yomi6 {

bool SaveDictionaryImage(const std::string& path, const unsigned char* image, std::string& error) {
    // The current file, for the bytes it holds past the image.
    std::string bytes;
    switch (ReadWholeFile(path, kMaxSavedDictionaryFileBytes, bytes)) {
    case ReadStatus::Read:
    case ReadStatus::Missing:
        break;
    case ReadStatus::Unreadable:
        error = "cannot read the bytes past the dictionary records of " + path;
        return false;
    case ReadStatus::TooLarge:
        error = "the dictionary file is too large to be replaced: " + path;
        return false;
    }
    if (bytes.size() < kDicImageSize) {
        bytes.resize(kDicImageSize);
    }
    bytes.replace(0, kDicImageSize, reinterpret_cast<const char*>(image), kDicImageSize);
    return WriteFileAtomically(path, bytes, error, MissingDirectories::Fail);
}

} // namespace yomi6
