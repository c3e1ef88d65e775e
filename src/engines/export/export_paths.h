// The parts of an export's file name that the side files and the parts' names are made from.
#pragma once

#include <cstddef>
#include <string_view>

namespace yomi6 {

// Where the file's own name starts in path: after its last '/'.
std::size_t NameStart(std::string_view path);

// Where the extension (its dot) starts in path, or path's end when the name has none; a name
// that starts with its only dot (".opus") has no extension.
std::size_t ExtensionStart(std::string_view path);

// The file's own name without its folder and its extension.
std::string_view NameStem(std::string_view path);

} // namespace yomi6
