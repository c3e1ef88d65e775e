#include "text/speech_text.h"

#include "text/cp932_codec.h"
#include "text/utf16.h"
#include "text/utf8_codec.h"
#include "text/variant_kanji.h"

#include <algorithm>

namespace yomi6 {

namespace {

constexpr EncodeOptions kSpeechOptions{LineEnd::CrLf, OnUnencodable::Replace};

// The bytes that stand for c, a character code page 932 cannot hold.
std::string StandInBytes(char32_t c) {
    std::string utf8;
    AppendUtf8(utf8, c);
    const std::string_view common = CommonKanjiForm(utf8);
    if (!common.empty()) {
        EncodeResult encoded = EncodeCp932(DecodeUtf8(common), EncodeOptions{});
        if (encoded.ok()) {
            return std::move(encoded.bytes);
        }
    }
    return " ";
}

} // namespace

std::string SpeechBytes(std::u16string_view text, std::size_t maxBytes,
                        std::vector<StandIn>* standIns) {
    EncodeResult whole = EncodeCp932(text, kSpeechOptions, maxBytes);
    if (whole.unencodable.empty()) {
        return std::move(whole.bytes);
    }
    // Again, part by part between the characters the code page lacks (all of them: a cut
    // encoding lists only those before its cut), each of them written as its stand-in.
    whole = EncodeCp932(text, kSpeechOptions);
    std::string out;
    // Appends as much of bytes as the limit leaves room for (a cut keeps a code's first byte,
    // as EncodeCp932 does); false when not all of them fitted.
    const auto append = [&](std::string_view bytes) {
        const std::size_t room = maxBytes - out.size();
        out += bytes.substr(0, room);
        return bytes.size() <= room;
    };
    std::size_t from = 0;
    for (const Unencodable& missing : whole.unencodable) {
        if (!append(
                EncodeCp932(text.substr(from, missing.position - from), kSpeechOptions).bytes)) {
            return out;
        }
        std::size_t units = 1;
        const char32_t c = utf16::CodePointAt(text, missing.position, units);
        const std::size_t at = out.size();
        if (!append(StandInBytes(c))) {
            return out;
        }
        if (standIns != nullptr) {
            std::string utf8;
            AppendUtf8(utf8, utf16::IsSurrogate(c) ? U'\uFFFD' : c);
            standIns->push_back({at, out.size(), std::move(utf8)});
        }
        from = missing.position + units;
    }
    append(EncodeCp932(text.substr(from), kSpeechOptions).bytes);
    return out;
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
        EncodeResult encoded = EncodeCp932(text.substr(i, units), options);
        const std::string bytes = encoded.ok() ? std::move(encoded.bytes)
                                               : StandInBytes(utf16::CodePointAt(text, i, units));
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
