// The bytes that the speech path reads: the editor's text as code page 932 with CR LF line
// ends, whatever the document's own encoding and line ends are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace yomi6 {

// A character of the text that code page 932 cannot hold, and the speech bytes [begin, end)
// that stand in its place: its common form where it has one (鷗 as 鴎, 𠮟 as 叱,
// text/variant_kanji.h), which is read as the character is read, else one blank 0x20.
struct StandIn {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::string utf8; // the character itself

    bool operator==(const StandIn&) const = default;
};

// Code page 932 bytes of text: each line break ('\n' or "\r\n") as CR LF, escape characters as
// their bytes, each character the code page cannot hold as its stand-in. Speaking never
// fails. At most maxBytes bytes: only that much of the text is converted (the speak command
// reads the first 4000 bytes). standIns, when given, receives the stand-ins in text order, so
// that what shows the text (subtitles) can show each character as it is.
std::string SpeechBytes(std::u16string_view text,
                        std::size_t maxBytes = std::numeric_limits<std::size_t>::max(),
                        std::vector<StandIn>* standIns = nullptr);

// The speech bytes of a text together with where each byte came from in the text, so that a
// range of source bytes maps back to the characters of the document.
struct SpeechSource {
    // The text span (UTF-16 units [begin, end)) of the character a byte belongs to; a line
    // break's CR and LF both belong to the line break.
    struct Span {
        std::uint32_t begin = 0;
        std::uint32_t end = 0;
    };
    std::string bytes;       // as SpeechBytes gives them
    std::vector<Span> spans; // one per byte

    // The text span of source bytes [begin, end): from the start of the first byte's
    // character to the end of the last byte's; an empty range gives an empty span where it is.
    Span TextSpan(std::size_t begin, std::size_t end) const;
};

SpeechSource SpeechSourceOf(std::u16string_view text,
                            std::size_t maxBytes = std::numeric_limits<std::size_t>::max());

} // namespace yomi6
