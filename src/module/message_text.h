// What a message from the sound server says: its text in pieces between index marks, pauses and
// changes of rate and pitch, read from SSML markup (the server wraps even plain text in it) or
// from plain text. Tags that map to nothing are dropped, never read aloud.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace yomi6::module {

enum class PieceKind { Text, Mark, Break };

struct MessagePiece {
    PieceKind kind = PieceKind::Text;
    std::string text;      // UTF-8 text to say, or the mark's name
    int breakMs = 0;       // for a Break
    double rateScale = 1;  // <prosody rate> in effect for a Text: above 1 faster
    double pitchScale = 1; // <prosody pitch> in effect for a Text: above 1 higher

    bool operator==(const MessagePiece&) const = default;
};

struct ParsedMessage {
    std::vector<MessagePiece> pieces;
    std::size_t invalidBytes = 0; // bytes that were no well-formed UTF-8, each said as a blank
};

// The pieces of data: markup when it starts (after blanks) with "<speak" or "<?xml", else
// plain text. Neighbouring texts are joined; an empty text is left out.
ParsedMessage ParseMessage(std::string_view data);

// The factor of an SSML rate ("slow", "150%", "+20%", "1.5") or pitch ("high", "-10%", "+2st");
// 1 for a value that cannot be read. Kept within 0.25 to 4.
double ProsodyRate(std::string_view value);
double ProsodyPitch(std::string_view value);

// The milliseconds of a <break>: its time ("500ms", "1.5s") or strength; 0 for none.
int BreakMs(std::string_view time, std::string_view strength);

} // namespace yomi6::module
