// The text a subtitle shows of a piece of an export's text: in UTF-8, as printed when the text
// is read as Aozora notation, and each character the code page lacks as itself.
#pragma once

#include "text/speech_text.h"

#include <span>
#include <string>
#include <string_view>

namespace yomi6 {

// Source bytes [begin, end) of text (code page 932) in UTF-8: without the notation when
// withoutNotation (NotationFreeText), and the bytes of each of standIns (of the whole text,
// sorted) as the character they stand for.
std::string CueText(std::string_view text, std::size_t begin, std::size_t end, bool withoutNotation,
                    std::span<const StandIn> standIns);

} // namespace yomi6
