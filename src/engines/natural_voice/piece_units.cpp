#include "natural_voice/piece_units.h"

#include "synthesis/mora_time.h"

#include <algorithm>

namespace yomi6::natural_voice {

namespace {

// The bytes of the pause sign (、。，．！？ full or half width, a bracket or the middle dot)
// at text[at] (code page 932), 0 when there is none.
std::size_t PauseSignLength(std::string_view text, std::size_t at) {
    if (at >= text.size()) {
        return 0;
    }
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead == 0xA1 || lead == 0xA4 || lead == 0xA5 || lead == ',' || lead == '.' || lead == '!' ||
        lead == '?') {
        return 1;
    }
    if (lead != 0x81 || at + 1 >= text.size()) {
        return 0;
    }
    static constexpr std::string_view kSecond =
        "\x41\x42\x43\x44\x45\x48\x49\x69\x6A\x75\x76\x77\x78";
    return kSecond.find(text[at + 1]) != std::string_view::npos ? 2 : 0;
}

} // namespace

std::vector<PieceUnit> UnitsOfPiece(std::span<const synthesis::PhonemeTime> phonemes,
                                    std::span<const SpokenMora> morae, ByteRange piece,
                                    std::string_view text) {
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
    // A silence after a mora covers the sign it stands for (the comma, the full stop) when one
    // follows that mora; the silence before the first mora covers nothing.
    const auto firstMora = std::find_if(units.begin(), units.end(),
                                        [](const PieceUnit& u) { return !u.mora.empty(); });
    for (auto it = firstMora; it != units.end(); ++it) {
        if (it->mora.empty()) {
            it->source.end = it->source.begin + PauseSignLength(text, it->source.begin);
        }
    }
    return units;
}

} // namespace yomi6::natural_voice
