#include "export/cue_text.h"

#include "aozora/aozora_notation.h"
#include "text/cp932_codec.h"
#include "text/utf8_codec.h"

#include <algorithm>
#include <vector>

namespace yomi6 {

namespace {

std::string Utf8Of(std::string_view bytes) {
    return EncodeUtf8(DecodeCp932(bytes), EncodeOptions{LineEnd::Lf, OnUnencodable::Replace}).bytes;
}

} // namespace

std::string CueText(std::string_view text, std::size_t begin, std::size_t end, bool withoutNotation,
                    std::span<const StandIn> standIns) {
    end = std::min(end, text.size());
    begin = std::min(begin, end);
    const std::string_view piece = text.substr(begin, end - begin);
    // The stand-ins that lie within the piece, counted from its start.
    std::vector<NotationText> shown;
    auto first = std::lower_bound(standIns.begin(), standIns.end(), begin,
                                  [](const StandIn& s, std::size_t at) { return s.begin < at; });
    for (; first != standIns.end() && first->end <= end; ++first) {
        shown.push_back({{first->begin - begin, first->end - begin}, first->utf8});
    }
    if (withoutNotation) {
        return NotationFreeText(piece, shown);
    }
    std::string out;
    std::size_t at = 0;
    for (const NotationText& s : shown) {
        out += Utf8Of(piece.substr(at, s.range.begin - at));
        out += s.utf8;
        at = s.range.end;
    }
    out += Utf8Of(piece.substr(at));
    return out;
}

} // namespace yomi6
