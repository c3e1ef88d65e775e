// Saving a whole dictionary image so that the file is never torn.
#pragma once

#include <cstddef>
#include <string>

namespace yomi6 {

// The largest dictionary file whose bytes past the image a save keeps (they are held in memory
// while the new file is written). A larger file is not replaced.
inline constexpr std::size_t kMaxSavedDictionaryFileBytes = std::size_t{64} << 20;

// Replaces the dictionary file at path with image (kDicImageSize bytes). The new content is
// written to a file beside it, flushed and renamed over it, so that a crash, a kill or a full
// disk leaves either the old file or the new one. Bytes that a longer file holds past the
// image are carried over unchanged; no save of the program touches them. A symbolic link is
// followed and an existing file keeps its permission bits. False when the file could not be
// replaced (error then says why); the old file is then unchanged.
bool SaveDictionaryImage(const std::string& path, const unsigned char* image, std::string& error);

} // namespace yomi6
