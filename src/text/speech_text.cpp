#include "text/speech_text.h"

#include "text/cp932_codec.h"

namespace yomi6 {

std::string SpeechBytes(std::u16string_view text, std::size_t maxBytes) {
    const EncodeOptions options{LineEnd::CrLf, OnUnencodable::Replace};
    return EncodeCp932(text, options, maxBytes).bytes;
}

} // namespace yomi6
