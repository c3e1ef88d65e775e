#include "text/speech_text.h"

#include "text/cp932_codec.h"
#include "text/utf16.h"

#include <algorithm>

namespace yomi6 {

std::string SpeechBytes(std::u16string_view text, std::size_t maxBytes) {
    const EncodeOptions options{LineEnd::CrLf, OnUnencodable::Replace};
    return EncodeCp932(text, options, maxBytes).bytes;
}

SpeechSource SpeechSourceOf(std::u16string_view text, std::size_t maxBytes) {
    const EncodeOptions options{LineEnd::CrLf, OnUnencodable::Replace};
    SpeechSource source;
    std::size_t i = 0;
    while (i < text.size() && source.bytes.size() < maxBytes) {
        std::size_t units = utf16::LineBreakAt(text, i, LineEnd::CrLf);
        if (units == 0) {
            utf16::CodePointAt(text, i, units);
        }
        const std::string bytes = EncodeCp932(text.substr(i, units), options).bytes;
        source.bytes += bytes;
        source.spans.insert(source.spans.end(), bytes.size(),
                            SpeechSource::Span{static_cast<std::uint32_t>(i),
                                               static_cast<std::uint32_t>(i + units)});
        i += units;
    }
    if (source.bytes.size() > maxBytes) {
        source.bytes.resize(maxBytes);
        source.spans.resize(maxBytes);
    }
    return source;
}

SpeechSource::Span SpeechSource::TextSpan(std::size_t begin, std::size_t end) const {
    if (spans.empty()) {
        return {};
    }
    if (begin >= spans.size()) {
        return {spans.back().end, spans.back().end};
    }
    end = std::min(end, spans.size());
    if (end <= begin) {
        return {spans[begin].begin, spans[begin].begin};
    }
    return {spans[begin].begin, spans[end - 1].end};
}

} // namespace yomi6
