// Shift-JIS test strings written as UTF-8 in the source and converted for the core.
#pragma once

#include <string>
#include <string_view>

namespace yomi6::test {

// Converts UTF-8 text to code page 932 bytes with iconv; throws on a character it cannot hold.
std::string Sjis(std::string_view utf8);

// Bytes of a hex string such as "B6 DE AF".
std::string Hex(std::string_view hex);

// "B6 DE AF" for printing a byte string in a failure message.
std::string ToHex(std::string_view bytes);

} // namespace yomi6::test
