// The dictionary's fixed message texts (UTF-8).
#pragma once

#include <string_view>

namespace yomi6::dic_messages {

inline constexpr std::string_view kCannotOpen = "辞書ファイルをオープンできません。";
inline constexpr std::string_view kCannotWrite = "辞書ファイルへ書き込みができません。";
inline constexpr std::string_view kCannotRead = "辞書ファイルを読み込めません。";

} // namespace yomi6::dic_messages
