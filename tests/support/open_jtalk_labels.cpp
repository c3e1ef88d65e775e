// The open_jtalk stand-in for our own labels: one run in a private folder, its trace and sound.
#include "support/open_jtalk_labels.h"

#include "natural/process_runner.h"
#include "natural/temp_folder.h"

#include <sndfile.h>

#include <fstream>
#include <sstream>
#include <unistd.h>

namespace yomi6::test {

bool HasOpenJTalk() {
    return ::access(kOpenJTalk, X_OK) == 0 &&
           ::access((std::string(kOpenJTalkDictionary) + "/sys.dic").c_str(), R_OK) == 0;
}

OpenJTalkRun ParseTraceLabels(const std::string& trace) {
    OpenJTalkRun run;
    std::istringstream in(trace);
    std::string line;
    bool inLabels = false;
    while (std::getline(in, line)) {
        if (line.rfind("[Output label]", 0) == 0) {
            inLabels = true;
            continue;
        }
        if (!inLabels) {
            continue;
        }
        if (line.empty() || line[0] == '[') {
            break;
        }
        std::istringstream fields(line);
        std::int64_t start = 0;
        std::int64_t end = 0;
        std::string label;
        if (fields >> start >> end >> label) {
            run.starts.push_back(start);
            run.ends.push_back(end);
            run.labels.push_back(label);
        }
    }
    return run;
}

std::optional<OpenJTalkRun> RunOpenJTalk(const std::string& utf8, const std::string& voiceFile) {
    if (!HasOpenJTalk()) {
        return std::nullopt;
    }
    const natural::TempFolder folder;
    if (folder.Path().empty()) {
        return std::nullopt;
    }
    std::ofstream(folder.File("in.txt")) << utf8 << '\n';
    const natural::ProcessResult result = natural::RunProcess(
        {kOpenJTalk, "-x", kOpenJTalkDictionary, "-m", voiceFile, "-ow", folder.File("out.wav"),
         "-ot", folder.File("out.trace"), folder.File("in.txt")});
    if (!result.Succeeded()) {
        return std::nullopt;
    }
    std::ifstream traceFile(folder.File("out.trace"), std::ios::binary);
    std::ostringstream trace;
    trace << traceFile.rdbuf();
    OpenJTalkRun run = ParseTraceLabels(trace.str());
    SF_INFO info{};
    SNDFILE* wav = sf_open(folder.File("out.wav").c_str(), SFM_READ, &info);
    if (wav == nullptr || run.labels.empty()) {
        if (wav != nullptr) {
            sf_close(wav);
        }
        return std::nullopt;
    }
    run.sampleRate = info.samplerate;
    run.pcm.resize(static_cast<std::size_t>(info.frames * info.channels));
    sf_read_short(wav, run.pcm.data(), static_cast<sf_count_t>(run.pcm.size()));
    sf_close(wav);
    return run;
}

} // namespace yomi6::test
