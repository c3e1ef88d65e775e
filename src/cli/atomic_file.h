// Writing a whole file so that it appears complete or not at all.
#pragma once

#include <cstddef>
#include <string>

namespace yomi6::cli {

// Writes size bytes to a temporary file beside path, flushes it to the disk and renames it over
// path, so that a crash or a full disk never leaves a partial file under that name. The new file
// gets the usual permissions (0666 less the umask). On failure nothing is left behind and
// *error says what went wrong.
bool WriteFileAtomically(const std::string& path, const void* data, std::size_t size,
                         std::string* error);

} // namespace yomi6::cli
