// yomi6 --speak --engine natural: the natural pass through the sound output the sample voices
// use, chunk after chunk as it is said.
#pragma once

#include "natural/natural_pass.h"
#include "playback/sample_mixer.h"

#include <deque>
#include <string>
#include <vector>

namespace yomi6 {

// The chunks handed to a mixer, kept until they have long been heard (the mixer does not copy
// the frames it plays).
struct HeldChunks {
    struct Chunk {
        std::vector<std::int16_t> pcm;
        SampleMixer::Clock::time_point end;
    };
    std::deque<Chunk> chunks;
};

// Plays the chunks of pass one after the other on one clock: each is handed to mixer a moment
// before the one before it ends (so that a busy machine never lets the stream run dry between
// them) and starts where it ends, or at once when the engine was late with it, which lengthens
// the pause and cuts nothing. Without a mixer (no sound output) the same time passes in silence.
// Returns once the last chunk has been heard. rate is the pass's output rate, the mixer's.
void PlayNaturalPass(natural::NaturalPass& pass, SampleMixer* mixer, int rate, HeldChunks& held);

// Speaks text (code page 932) with the natural pass options and the dictionary's words once and
// returns the exit status when it has been heard: 1, after the line that says why, when the pass
// gave up on the engine.
int SpeakNaturalText(int argc, char** argv, std::string text, const DictionaryView& dictionary,
                     natural::NaturalPassOptions options);

} // namespace yomi6
