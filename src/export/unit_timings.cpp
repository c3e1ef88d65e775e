#include "export/unit_timings.h"

#include "playback/wav_render.h"

#include <cstdio>

namespace yomi6 {

namespace {

// Sample names are ASCII identifiers; anything else is escaped all the same.
void AppendJsonString(std::string& out, std::string_view text) {
    out.push_back('"');
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(ch);
        } else if (c < 0x20 || c >= 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out.push_back(ch);
        }
    }
    out.push_back('"');
}

} // namespace

std::string TimingsHead(std::int64_t tickMs) {
    return "{\"format\":\"yomi6-timings\",\"version\":1,\"sampleRate\":" +
           std::to_string(kRenderRate) + ",\"tickMs\":" + std::to_string(tickMs) + ",\"units\":[\n";
}

std::string TimingsEntry(const ExportTick& tick, bool first) {
    if (!tick.unit) {
        return {};
    }
    std::string out = first ? "{\"sample\":" : ",\n{\"sample\":";
    if (tick.sample.empty()) {
        out += "null";
    } else {
        AppendJsonString(out, tick.sample);
    }
    out += ",\"startMs\":" + std::to_string(tick.timeMs) + ",\"source\":[" +
           std::to_string(tick.sourceBegin) + "," + std::to_string(tick.sourceEnd) + "]}";
    return out;
}

std::string TimingsTail() {
    return "\n]}\n";
}

} // namespace yomi6
