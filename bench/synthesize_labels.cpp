// Says sentences of full-context labels in one process, as the editor's worker would: the voice
// loaded once, one synthesizer, each sentence made and thrown away. For timing whole processes
// (tools/bench-synthesis.sh):
//   build/bench/synthesize_labels [--cut-silence LEAD_MS TAIL_MS] VOICE_DIR LABEL_FILE...
// Each file holds one sentence's labels, one per line (times before them allowed).
// --cut-silence cuts the silence around each sentence's speech to those lengths, as the
// natural voice does. Prints the seconds of audio made.
#include "synthesis/hts_voice.h"
#include "synthesis/synthesizer.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace yomi6::synthesis;
    SynthesisOptions options;
    int first = 1;
    if (argc > 3 && std::string(argv[1]) == "--cut-silence") {
        options.maxLeadingSilence = std::chrono::milliseconds(std::atoi(argv[2]));
        options.maxTrailingSilence = std::chrono::milliseconds(std::atoi(argv[3]));
        first = 4;
    }
    if (argc < first + 2) {
        std::fprintf(stderr, "usage: synthesize_labels [--cut-silence LEAD_MS TAIL_MS] VOICE_DIR "
                             "LABEL_FILE...\n");
        return 2;
    }
    const HtsVoice::Loaded loaded = HtsVoice::Load(StyleVoiceFiles(argv[first], {}));
    if (loaded.voice == nullptr) {
        std::fprintf(stderr, "%s\n", loaded.error.c_str());
        return 1;
    }
    Synthesizer synthesizer(loaded.voice);
    std::size_t frames = 0;
    for (int i = first + 1; i < argc; ++i) {
        std::ifstream in(argv[i]);
        std::vector<std::string> labels;
        for (std::string line; std::getline(in, line);) {
            if (!line.empty()) {
                labels.push_back(line);
            }
        }
        const Synthesis said = synthesizer.Synthesize(labels, options);
        if (!said.end.error.empty()) {
            std::fprintf(stderr, "%s: %s\n", argv[i], said.end.error.c_str());
            return 1;
        }
        frames += said.pcm.size();
    }
    std::printf("%.3f\n", static_cast<double>(frames) / loaded.voice->SampleRate());
    return 0;
}
