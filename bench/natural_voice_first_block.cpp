// How long the natural voice said in our own process takes to hand its first block of sound,
// from the moment the saying starts, the voice loaded before (as a run loads it once): what a
// player waits before the first sound, its own buffer aside. Run on demand:
//   build/bench/natural_voice_first_block FILE VOICE_DIR [RUNS]
// FILE is code page 932 text; prints the time to load the voice and the engine, and the median
// and slowest of RUNS first blocks (default 9).
#include "engine/engine_choice.h"
#include "export/engine_factory.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace yomi6;
    using Clock = std::chrono::steady_clock;
    if (argc < 3) {
        std::fprintf(stderr, "usage: natural_voice_first_block FILE VOICE_DIR [RUNS]\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const std::string text = bytes.str();
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 9;
    natural::Installation installation;
    installation.voiceFolder = argv[2];
    EngineRequest request;
    request.naturalAsked = true;
    const ChosenEngine chosen = ChooseEngine(installation, request);
    if (!chosen.SpeaksNaturally()) {
        std::fprintf(stderr, "%s\n", natural::MissingText(chosen.setup).c_str());
        return 1;
    }
    natural::NaturalPassOptions options = chosen.pass;
    options.firstLeadSilenceMs = 0; // a reading heard live starts at once
    const auto loadStart = Clock::now();
    const std::unique_ptr<SpeechEngine> engine = MakeNaturalEngine(std::nullopt, options);
    const double loadMs =
        std::chrono::duration<double, std::milli>(Clock::now() - loadStart).count();
    std::vector<double> ms;
    for (int k = 0; k < runs; ++k) {
        Clock::time_point first{};
        EngineSink sink;
        sink.onBlock = [&](const SoundBlock&) {
            first = Clock::now();
            return false; // the first block is all that is measured
        };
        const auto start = Clock::now();
        engine->Say(EngineText{text}, sink);
        if (first == Clock::time_point{}) {
            std::fprintf(stderr, "no sound\n");
            return 1;
        }
        ms.push_back(std::chrono::duration<double, std::milli>(first - start).count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("voice and engine loaded: %.1f ms\nfirst block: median %.1f ms, slowest %.1f ms "
                "(%d runs)\n",
                loadMs, ms[ms.size() / 2], ms.back(), runs);
    return 0;
}
