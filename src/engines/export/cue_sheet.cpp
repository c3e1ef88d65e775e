#include "export/cue_sheet.h"

#include "export/export_paths.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace yomi6 {

namespace {

// A value in double quotes: its quotes as apostrophes, its line breaks as blanks.
std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        out.push_back(c == '"' ? '\'' : c == '\n' || c == '\r' ? ' ' : c);
    }
    return out + "\"";
}

} // namespace

std::string CueSheetPath(std::string_view audioPath) {
    return std::string(audioPath.substr(0, ExtensionStart(audioPath))) + ".cue";
}

std::string CueSheetText(std::string_view audioPath, const std::vector<ChapterMark>& marks) {
    std::string extension(audioPath.substr(ExtensionStart(audioPath)));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    std::string out = "FILE " + Quoted(audioPath.substr(NameStart(audioPath))) +
                      (extension == ".mp3" ? " MP3\n" : " WAVE\n");
    for (std::size_t i = 0; i < marks.size(); ++i) {
        const std::int64_t frames = std::max<std::int64_t>(marks[i].startMs, 0) * 75 / 1000;
        char line[96];
        std::snprintf(line, sizeof line, "  TRACK %02zu AUDIO\n", i + 1);
        out += line;
        out += "    TITLE " + Quoted(marks[i].title) + "\n";
        std::snprintf(line, sizeof line, "    INDEX 01 %02lld:%02lld:%02lld\n",
                      static_cast<long long>(frames / 75 / 60),
                      static_cast<long long>(frames / 75 % 60),
                      static_cast<long long>(frames % 75));
        out += line;
    }
    return out;
}

} // namespace yomi6
