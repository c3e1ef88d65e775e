#include "export/m4b_file.h"

#include "natural/process_runner.h"

#include <cstdlib>
#include <unistd.h>

namespace yomi6 {

namespace {

std::string Escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '=' || c == ';' || c == '#' || c == '\\' || c == '\n') {
            out.push_back('\\');
        }
        out.push_back(c == '\r' ? ' ' : c);
    }
    return out;
}

} // namespace

std::string FindProgramOnPath(std::string_view name) {
    const char* path = std::getenv("PATH");
    std::string_view folders = path != nullptr ? path : "";
    while (!folders.empty()) {
        const std::size_t colon = folders.find(':');
        const std::string_view folder = folders.substr(0, colon);
        folders = colon == std::string_view::npos ? std::string_view() : folders.substr(colon + 1);
        if (folder.empty()) {
            continue; // the current folder is not searched
        }
        std::string candidate(folder);
        candidate += '/';
        candidate += name;
        if (::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return {};
}

std::string FfmetadataText(const std::vector<ChapterMark>& marks) {
    std::string out = ";FFMETADATA1\n";
    for (const ChapterMark& mark : marks) {
        out += "[CHAPTER]\nTIMEBASE=1/1000\nSTART=" + std::to_string(mark.startMs) +
               "\nEND=" + std::to_string(mark.endMs) + "\ntitle=" + Escaped(mark.title) + "\n";
    }
    return out;
}

bool EncodeM4b(const std::string& ffmpeg, const std::string& source, const std::string& metadata,
               const std::string& target, M4bRun& run, std::string& error) {
    const std::vector<std::string> argv{
        ffmpeg,          "-nostdin", "-hide_banner",  "-loglevel", "error",  "-y",   "-i",
        source,          "-f",       "ffmetadata",    "-i",        metadata, "-map", "0:a",
        "-map_metadata", "1",        "-map_chapters", "1",         "-c:a",   "aac",  "-b:a",
        "64k",           "-f",       "ipod",          target};
    natural::ProcessLimits limits;
    limits.timeLimit = run.limit;
    limits.cancel = run.cancel;
    const natural::ProcessResult result = natural::RunProcess(argv, limits);
    run.cancelled = result.cancelled;
    if (!result.Succeeded()) {
        error = "ffmpeg could not make the .m4b file: " +
                (result.started ? natural::DescribeFailure(result) : result.error);
        return false;
    }
    return true;
}

} // namespace yomi6
