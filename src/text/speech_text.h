// The bytes that the speech path reads: the editor's text as code page 932 with CR LF line
// ends, whatever the document's own encoding and line ends are.
#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

namespace yomi6 {

// Code page 932 bytes of text: each line break ('\n' or "\r\n") as CR LF, escape characters as
// their bytes, each character the code page cannot hold as one blank 0x20. Speaking never
// fails. At most maxBytes bytes: only that much of the text is converted (the speak command
// reads the first 4000 bytes).
std::string SpeechBytes(std::u16string_view text,
                        std::size_t maxBytes = std::numeric_limits<std::size_t>::max());

} // namespace yomi6
