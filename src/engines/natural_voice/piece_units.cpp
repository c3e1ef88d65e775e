#include "natural_voice/piece_units.h"

#include "synthesis/mora_time.h"

namespace yomi6::natural_voice {

std::vector<PieceUnit> UnitsOfPiece(std::span<const synthesis::PhonemeTime> phonemes,
                                    std::span<const SpokenMora> morae, ByteRange piece) {
    std::vector<PieceUnit> units;
    std::size_t next = 0; // the next spoken mora of morae
    std::size_t at = piece.begin;
    for (const synthesis::MoraTime& time : synthesis::GroupMorae(phonemes)) {
        PieceUnit unit;
        unit.startFrame = time.startFrame;
        unit.endFrame = time.endFrame;
        if (time.silent || next >= morae.size()) {
            // A silence, or a mora the labels have and the reading not (which cannot be as
            // both come from the same words): silent where the last mora ended.
            unit.source = {at, at};
        } else {
            unit.mora = morae[next].kana;
            unit.source = morae[next].source;
            at = unit.source.end;
            ++next;
        }
        units.push_back(std::move(unit));
    }
    return units;
}

} // namespace yomi6::natural_voice
