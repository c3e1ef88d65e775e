#include "chapters/chapters.h"
#include "cli/cli_common.h"
#include "cli/cli_main.h"
#include "cli/cli_modes.h"
#include "text/document_encoding.h"
#include "text/utf8_codec.h"

#include <string>

namespace yomi6::cli {

namespace {

// The most of FILE that is read: a long book is far shorter.
constexpr std::size_t kMaxChapterBytes = 64u << 20;

} // namespace

int RunChapters(const Options& options) {
    std::string bytes;
    if (!ReadInput(options.input, kMaxChapterBytes, bytes)) {
        return kExitIoError;
    }
    TextEncoding encoding = TextEncoding::Utf8;
    if (!ChooseInputEncoding(options, bytes, false, encoding)) {
        return kExitIoError;
    }
    const DecodedDocument document = DecodeDocumentAs(bytes, encoding);
    const std::u16string& text = document.text;
    // The bytes of each heading's line in FILE: the text before it written back as FILE has
    // it (the document's text gives back its bytes), piece after piece.
    DocumentFormat piece = document.format;
    std::size_t offset = 0;
    std::size_t counted = 0;
    std::string out;
    for (const Chapter& chapter : FindChapters(text)) {
        offset += EncodeDocument(std::u16string_view(text).substr(counted, chapter.begin - counted),
                                 piece, OnUnencodable::Replace)
                      .bytes.size();
        counted = chapter.begin;
        if (piece.encoding == TextEncoding::Utf8WithBom) {
            piece.encoding = TextEncoding::Utf8; // the byte order mark comes once
        }
        out += std::to_string(chapter.level);
        out += '\t';
        out += std::to_string(offset);
        out += '\t';
        out += EncodeUtf8(chapter.title, EncodeOptions{LineEnd::Lf, OnUnencodable::Replace}).bytes;
        out += '\n';
    }
    return WriteStdout(out.data(), out.size()) ? kExitOk : kExitIoError;
}

} // namespace yomi6::cli
