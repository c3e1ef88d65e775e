#include "natural_voice/piece_units.h"

#include "synthesis/mora_time.h"

#include <algorithm>

namespace yomi6::natural_voice {

std::vector<PieceUnit> UnitsOfPiece(std::span<const synthesis::PhonemeTime> phonemes,
                                    std::span<const SpokenMora> morae, ByteRange piece) {
    std::vector<PieceUnit> units;
    std::size_t next = 0;         // the next spoken mora of morae
    std::size_t at = piece.begin; // where the last mora ended
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
    // A silence after a mora covers what lies between that mora and the next (the comma, the
    // full stop), the last one up to the piece's end; the silence before the first mora covers
    // nothing.
    const auto firstMora = std::find_if(units.begin(), units.end(),
                                        [](const PieceUnit& u) { return !u.mora.empty(); });
    std::size_t nextBegin = piece.end;
    for (auto it = units.end(); it != firstMora;) {
        --it;
        if (!it->mora.empty()) {
            nextBegin = it->source.begin;
        } else {
            it->source.end = std::max(it->source.begin, nextBegin);
        }
    }
    return units;
}

} // namespace yomi6::natural_voice
