// How long the natural pass takes to have its first chunk's sound ready, from the moment it is
// started: what a player waits before the first sound. Run on demand (tools/bench-natural.sh):
//   build/bench/natural_first_sound FILE VOICE_DIR [RUNS]
// FILE is code page 932 text; prints the median and the slowest of RUNS starts (default 7).
#include "natural/engine_setup.h"
#include "natural/natural_pass.h"
#include "speech/sample_edit.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace yomi6::natural;
    if (argc < 3) {
        std::fprintf(stderr, "usage: natural_first_sound FILE VOICE_DIR [RUNS]\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 7;
    NaturalPassOptions options;
    options.synthesis.setup.voiceFile = FindVoiceFile(Style::Neutral, argv[2], {});
    options.synthesis.level = yomi6::BuiltInVoiceLevel();
    options.workers = 2;
    if (const std::string missing = MissingPieces(options.synthesis.setup); !missing.empty()) {
        std::fprintf(stderr, "%s\n", missing.c_str());
        return 1;
    }
    std::vector<double> ms;
    for (int k = 0; k < runs; ++k) {
        const auto start = std::chrono::steady_clock::now();
        NaturalPass pass(bytes.str(), std::nullopt, options);
        const auto chunk = pass.Next();
        const auto ready = std::chrono::steady_clock::now();
        if (!chunk) {
            std::fprintf(stderr, "no chunk was said\n");
            return 1;
        }
        ms.push_back(std::chrono::duration<double, std::milli>(ready - start).count());
        pass.Stop();
    }
    std::sort(ms.begin(), ms.end());
    std::printf("first chunk ready after %.0f ms median, %.0f ms slowest (%d runs)\n",
                ms[ms.size() / 2], ms.back(), runs);
    return 0;
}
