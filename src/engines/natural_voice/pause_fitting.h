// The pauses of a piece said by the natural voice brought to the lengths the user set for the
// marks of the text: each silence within the piece at a comma, an ellipsis or a dash, and the
// silence after the piece (its last mark, and the line end or blank line that follows it). A
// silence is lengthened by silence put in its middle and shortened by cutting its middle, so
// that the speech on either side stays as the engine made it; the units' times move with the
// sound.
#pragma once

#include "natural/chunking.h"
#include "natural_voice/piece_units.h"
#include "settings/pause_table.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace yomi6::natural_voice {

// The mark a pause stands for at text[at] (code page 932), closing brackets and blanks before
// it passed over: 、，､, the comma; 。．｡ the full stop; ！？!? ; …‥ the ellipsis; ― the dash.
// std::nullopt for anything else (an opening bracket, the middle dot, a word).
std::optional<PauseMark> PauseMarkAt(std::string_view text, std::size_t at, std::size_t end);

// The pause after piece, in milliseconds, when the next piece starts at next (the text's size
// after the last): its last mark's (the comma's where it has none: a piece cut for its length),
// or the line end's or the blank line's when one lies between them and is longer.
std::int32_t PauseAfterPiece(std::string_view text, ByteRange piece, std::size_t next,
                             const PauseTable& pauses);

// One change to a piece's sound, at a frame of the sound as made: frames cut from there on, or
// silent frames put before it.
struct SoundEdit {
    std::int64_t at = 0;
    std::int64_t cut = 0;
    std::int64_t insert = 0;
};

// Brings each silent unit whose target (frames, one for each unit) is not negative to that
// length, and moves the units after it; the edits that do it to the sound, in order.
std::vector<SoundEdit> FitSilences(std::vector<PieceUnit>& units,
                                   std::span<const std::int64_t> targets);

// The targets of a piece's units (FitSilences) at rate frames a second: a silence within the
// piece at a mark of pauses its length; the silence after the last mora trailMs (negative:
// kept), the one before the first at least leadMs (negative: kept). piece is the units' piece
// of text.
std::vector<std::int64_t> SilenceTargets(std::span<const PieceUnit> units, std::string_view text,
                                         ByteRange piece, const PauseTable& pauses, int rate,
                                         std::int64_t leadMs, std::int64_t trailMs);

// Applies the edits to a piece's sound as it comes block by block.
class SoundEditor {
public:
    explicit SoundEditor(std::vector<SoundEdit> edits) : m_edits(std::move(edits)) {}

    // The next block of the sound as made, edited, appended to out.
    void Edit(std::span<const std::int16_t> block, std::vector<std::int16_t>& out);
    // The silence still to be put at or past the end of the sound, appended to out.
    void Finish(std::vector<std::int16_t>& out);

private:
    std::vector<SoundEdit> m_edits;
    std::size_t m_next = 0;
    std::int64_t m_done = 0;    // frames of the sound as made taken so far
    std::int64_t m_cutLeft = 0; // frames still to be cut by the edit under way
};

} // namespace yomi6::natural_voice
