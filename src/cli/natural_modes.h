// --wav and --units with --engine natural: the whole FILE said by the natural voice.
#pragma once

#include "cli/cli_options.h"
#include "dictionary/dictionary.h"
#include "engine/engine_choice.h"
#include "engine/speech_engine.h"
#include "natural/natural_pass.h"

#include <optional>
#include <string>
#include <string_view>

namespace yomi6::cli {

// yomi6 --engine natural --wav OUT.wav FILE: the whole text said chunk by chunk on every core,
// written as 16-bit mono WAVE at 16000 Hz. Without the engine or its voice: one line naming
// what to install or the file, and the sample voice's --wav instead.
int RunNaturalWav(const Options& options);

// The engine's sound of text as a WAVE file at output, 8- or 16-bit as the engine makes it
// (RIFF, or RF64 past 4 GiB, as --export writes it): streamed block by block into a file, which
// appears whole or not at all; held once for a target written into directly (standard output, a
// pipe, a device), whose header, which holds the size, must come first. An engine that gives up
// writes nothing.
int WriteEngineWave(yomi6::SpeechEngine& engine, std::string_view text, const std::string& output);

// yomi6 --engine natural --units FILE: one line per mora or pause: the mora in katakana (- for
// a pause), the first and end source byte it was read from, that text, and its start in ms.
int RunNaturalUnits(const Options& options);

// The natural pass as the options set it up (the voice NaturalVoiceOption picks, the rate of
// --speed), saying workers chunks at once; std::nullopt after the one
// line on standard error that names what is missing, for the sample voice to speak instead.
std::optional<natural::NaturalPassOptions> NaturalPassFor(const Options& options, unsigned workers);

// The natural pass of request as NaturalPassFor gives it; none for the samples (after the line
// on standard error that names what is missing, when a natural voice was asked for).
std::optional<natural::NaturalPassOptions> NaturalPassOf(const EngineRequest& request);

// Whether the natural voice reads text as Aozora notation: as the automatic reading of the
// other modes does (--aozora, else the settings; never with --readings dictionary).
bool NaturalReadsAozora(const Options& options, std::string_view text);

// How many chunks are said at once where the whole text is rendered: $YOMI6_NATURAL_WORKERS
// when set (the benchmark compares one at a time with every core), else every core.
unsigned WavWorkers();

// The whole input as the speech path reads it (code page 932), with the dictionary loaded;
// false after the line on standard error that says why not.
bool ReadNaturalInput(const Options& options, std::string& text, Dictionary& dictionary);

// The line on standard error of a chunk the engine failed on.
void PrintSkipped(const std::string& message);

} // namespace yomi6::cli
