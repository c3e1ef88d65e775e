// The accent notation of Aozora Bunko texts: inside 〔…〕 a Latin letter followed by a mark
// stands for the accented letter (e' for é, a& for å, ae& for æ). One table, used both to read
// the letters (the marks are silent) and to show the accented letters.
#pragma once

#include <cstddef>
#include <string_view>

namespace yomi6 {

struct AccentMatch {
    std::size_t length = 0; // ASCII characters of the notation matched; 0: none
    std::size_t kept = 0;   // its leading letters that are read; the rest are marks
    char32_t shown = 0;     // the accented letter
};

// The accent notation that starts at the beginning of ascii, the longest that matches.
AccentMatch MatchAccent(std::string_view ascii);

} // namespace yomi6
