#include "export/unit_timings.h"

#include "playback/wav_render.h"

#include <cstdio>

namespace yomi6 {

namespace {

// Sample names are ASCII identifiers and morae katakana in UTF-8: the bytes of UTF-8 pass as
// they are (JSON is UTF-8), quotes, backslashes and controls are escaped.
void AppendJsonString(std::string& out, std::string_view text) {
    out.push_back('"');
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(ch);
        } else if (c < 0x20 || c == 0x7F) {
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

TimingsLayout SampleTimingsLayout(std::int64_t tickMs) {
    TimingsLayout layout;
    layout.sampleRate = kRenderRate;
    layout.tickMs = tickMs;
    return layout;
}

TimingsLayout TimingsLayoutOf(int sampleRate, const EngineCapabilities& capabilities) {
    if (capabilities.units == UnitKind::Tick) {
        TimingsLayout layout = SampleTimingsLayout(capabilities.tickMs);
        layout.sampleRate = sampleRate;
        return layout;
    }
    TimingsLayout layout;
    layout.version = 2;
    layout.engine = capabilities.withTicks ? "samples+natural" : "natural";
    layout.sampleRate = sampleRate;
    layout.nameKey = "mora";
    layout.ends = true;
    return layout;
}

std::string TimingsHead(const TimingsLayout& layout) {
    std::string out = "{\"format\":\"yomi6-timings\",\"version\":" + std::to_string(layout.version);
    if (!layout.engine.empty()) {
        out += ",\"engine\":";
        AppendJsonString(out, layout.engine);
    }
    out += ",\"sampleRate\":" + std::to_string(layout.sampleRate);
    if (layout.tickMs > 0) {
        out += ",\"tickMs\":" + std::to_string(layout.tickMs);
    }
    return out + ",\"units\":[\n";
}

std::string TimingsEntry(const TimingsLayout& layout, const SpokenUnit& unit, bool first) {
    std::string out = first ? "{" : ",\n{";
    AppendJsonString(out, layout.nameKey);
    out.push_back(':');
    if (unit.says.empty()) {
        out += "null";
    } else {
        AppendJsonString(out, unit.says);
    }
    out += ",\"startMs\":" + std::to_string(unit.startMs);
    if (layout.ends) {
        out += ",\"endMs\":" + std::to_string(unit.endMs);
    }
    out += ",\"source\":[" + std::to_string(unit.sourceBegin) + "," +
           std::to_string(unit.sourceEnd) + "]}";
    return out;
}

std::string TimingsTail() {
    return "\n]}\n";
}

} // namespace yomi6
