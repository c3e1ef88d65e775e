// Where the lines a character says lie in code page 932 text: the runs within 「」 and 『』, so
// that they can be said by a voice of their own.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace yomi6 {

// Source bytes [begin, end) of a line said, its brackets included.
struct DialogueSpan {
    std::size_t begin = 0;
    std::size_t end = 0;
    bool operator==(const DialogueSpan&) const = default;
};

// The spans of text, in order, never overlapping: each from an opening 「 or 『 to the closing
// bracket that matches it, brackets opened inside counted (『』 inside 「」 stays within the
// span, across line breaks too). A bracket left open ends its span at the end of its
// paragraph's last line (a paragraph ends at a line of blanks only) or at the text's end, so
// that a stray one never makes the rest of a book a line said. A closing bracket that matches
// none open is ignored; one that matches an outer bracket closes the unclosed ones inside it.
// Brackets within Aozora notation (［＃…］ notes and 《…》 ruby) are not dialogue.
// startsInsideLine: text is the rest of a text whose bracket was left open before it (as
// EndsInsideLine tells of what came before): its first span starts at its start, and a closing
// bracket of either kind closes it.
std::vector<DialogueSpan> DialogueSpans(std::string_view text, bool startsInsideLine = false);

// Whether a bracket of text is still open at its end, where a text that goes on from there
// would be inside a line.
bool EndsInsideLine(std::string_view text);

// A run of bytes [from, to) said by one voice: the narrator's or, within a span, the dialogue's.
struct VoiceRun {
    std::size_t from = 0;
    std::size_t to = 0;
    bool dialogue = false;
    bool operator==(const VoiceRun&) const = default;
};

// [from, to) cut into alternate runs at the spans' edges (spans as DialogueSpans gives them);
// no empty run. A span that begins before from or ends after to is cut to the range.
std::vector<VoiceRun> VoiceRuns(const std::vector<DialogueSpan>& spans, std::size_t from,
                                std::size_t to);

} // namespace yomi6
