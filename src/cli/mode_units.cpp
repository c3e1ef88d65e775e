#include "cli/cli_common.h"
#include "cli/cli_main.h"
#include "cli/cli_modes.h"
#include "cli/speech_options.h"
#include "playback/speech_pass.h"
#include "playback/speech_state.h"
#include "playback/wav_render.h"
#include "text/cp932_codec.h"
#include "text/utf8_codec.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace yomi6::cli {

namespace {

// The source text of a range in UTF-8, with the bytes that would break the line apart (control
// characters, and the backslash that introduces the escapes) written as C escapes.
void AppendSourceText(std::string& out, std::string_view bytes) {
    const std::string utf8 =
        EncodeUtf8(DecodeCp932(bytes), EncodeOptions{LineEnd::Lf, OnUnencodable::Replace}).bytes;
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char escape[5];
                std::snprintf(escape, sizeof escape, "\\x%02X", c);
                out += escape;
            } else {
                out.push_back(ch);
            }
        }
    }
}

} // namespace

int RunUnits(const Options& options) {
    std::string source;
    const auto speech = std::make_unique<SpeechState>();
    if (const int status = PrepareSpeech(options, *speech, &source); status != kExitOk) {
        return status;
    }
    ApplySpeechOptions(options, *speech);
    std::string out;
    RunPass(*speech, [&](const TickResult& tick) {
        const std::size_t begin = std::min<std::size_t>(tick.source.begin, source.size());
        const std::size_t end = std::clamp<std::size_t>(tick.source.end, begin, source.size());
        out.append(tick.sample.empty() ? kSilentTick : tick.sample).push_back('\t');
        out.append(std::to_string(begin)).push_back('\t');
        out.append(std::to_string(end)).push_back('\t');
        AppendSourceText(out, std::string_view(source).substr(begin, end - begin));
        out.push_back('\n');
    });
    return WriteStdout(out.data(), out.size()) ? kExitOk : kExitIoError;
}

} // namespace yomi6::cli
