#include "analysis/analyzer_loader.h"
#include "cli/cli_common.h"
#include "cli/cli_main.h"
#include "cli/cli_modes.h"
#include "cli/natural_modes.h"
#include "cli/speech_options.h"
#include "dictionary/dictionary_view.h"
#include "export/audio_file_writer.h"
#include "export/wave_stream.h"
#include "io/atomic_file.h"
#include "natural/natural_pass.h"
#include "natural/voice_setup.h"
#include "playback/wav_render.h"
#include "text/cp932_codec.h"
#include "text/document_encoding.h"
#include "text/utf8_codec.h"
#include "voice/sample_edit.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <thread>

namespace yomi6::cli {

namespace {

// The engine set up as the options and the settings' slot say, or std::nullopt after the line
// that says what is missing.
std::optional<natural::EngineSetup> NaturalSetup(const Options& options) {
    const natural::VoiceChoice choice =
        NaturalVoiceOption(options).value_or(natural::VoiceChoice{});
    const natural::VoiceSetup setup = natural::SetUpVoice(
        natural::RunInstallation(), choice, options.speed.value_or(DefaultSpeechOptions().speed));
    if (!setup.CanSpeak()) {
        PrintError("natural voice",
                   natural::MissingText(setup) + "; the sample voice speaks instead");
        return std::nullopt;
    }
    return setup.engine;
}

} // namespace

// The whole input as the speech path reads it (code page 932), with the dictionary loaded.
bool ReadNaturalInput(const Options& options, std::string& text, Dictionary& dictionary) {
    std::string bytes;
    if (!ReadInput(options.input, kMaxDocumentBytes + 1, bytes)) {
        return false;
    }
    const bool cut = bytes.size() > kMaxDocumentBytes;
    TextEncoding encoding = TextEncoding::Cp932;
    if (!ChooseInputEncoding(options, bytes, cut, encoding) ||
        !LoadCliDictionary(options, dictionary)) {
        return false;
    }
    text = InputSpeechBytes(std::move(bytes), encoding, cut, kMaxDocumentBytes);
    return true;
}

namespace {

natural::NaturalPassOptions PassOptions(const natural::EngineSetup& setup, unsigned workers) {
    natural::NaturalPassOptions pass;
    pass.synthesis.setup = setup;
    pass.synthesis.outputRate = kRenderRate;
    pass.synthesis.level = BuiltInVoiceLevel();
    // The settings' analyzer folder, as the automatic reading of the other modes reads with.
    pass.synthesis.analyzerFolder = DefaultSpeechOptions().analyzerDictionary;
    pass.workers = workers;
    pass.ahead = 2 * static_cast<std::size_t>(workers);
    return pass;
}

} // namespace

void PrintSkipped(const std::string& message) {
    PrintError("natural voice", message);
}

namespace {

// The source text of a range in UTF-8, control characters and \ as C escapes, as --units of the
// sample voice writes it.
void AppendEscaped(std::string& out, std::string_view bytes) {
    const std::string utf8 =
        EncodeUtf8(DecodeCp932(bytes), EncodeOptions{LineEnd::Lf, OnUnencodable::Replace}).bytes;
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\\') {
            out += "\\\\";
        } else if (c < 0x20 || c == 0x7F) {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02X", c);
            out += c == '\t' ? "\\t" : c == '\r' ? "\\r" : c == '\n' ? "\\n" : escape;
        } else {
            out.push_back(ch);
        }
    }
}

// The analyzer the engine's text is read with (for its Latin letters and signs): a folder that
// cannot be loaded is said once, as the sample voice says it.
void ReportAnalyzer(const Options& options) {
    AnalyzerLoader analyzer;
    analyzer.SetConfiguredDictionary(DefaultSpeechOptions().analyzerDictionary);
    std::string error;
    if (analyzer.Get(error) == nullptr) {
        PrintError(AutomaticReadingSource(options),
                   error + "; the natural voice says Latin letters and signs its own way");
    }
}

// Samples as the WAVE file holds them, little-endian, whatever the machine's order.
void ToLittleEndian(std::vector<std::int16_t>& pcm) {
    if constexpr (std::endian::native == std::endian::big) {
        for (std::int16_t& s : pcm) {
            const auto v = static_cast<std::uint16_t>(s);
            s = static_cast<std::int16_t>(static_cast<std::uint16_t>(v << 8 | v >> 8));
        }
    }
}

// The pass's sound as a 16-bit WAVE file at output (RIFF, or RF64 past 4 GiB, as --export
// writes it): streamed chunk by chunk into a file, which appears whole or not at all; held once
// for a target written into directly (standard output, a pipe, a device), whose header, which
// holds the size, must come first. A pass that gives up writes nothing.
int WriteNaturalWave(natural::NaturalPass& pass, const std::string& output) {
    const bool inPlace = output == "-" || WritesInPlace(output);
    std::string error;
    AudioFileWriter file;
    if (!inPlace && !file.Open(output, AudioFormat::Wav, kRenderRate, SampleBits::Sixteen, error)) {
        PrintError(output, error);
        return kExitIoError;
    }
    std::vector<std::vector<std::int16_t>> held;
    std::uint64_t dataBytes = 0;
    while (auto chunk = pass.Next()) {
        if (inPlace) {
            dataBytes += chunk->pcm.size() * sizeof(std::int16_t);
            held.push_back(std::move(chunk->pcm));
        } else if (!file.Write(chunk->pcm.data(), chunk->pcm.size(), error)) {
            PrintError(output, error);
            return kExitIoError;
        }
    }
    if (const std::string failure = pass.Failure(); !failure.empty()) {
        PrintError("natural voice", failure);
        return kExitIoError;
    }
    if (!inPlace) {
        if (!file.Finish(error)) {
            PrintError(output, error);
            return kExitIoError;
        }
        return kExitOk;
    }
    const std::string header =
        WaveStreamHeader(dataBytes, kRenderRate, dataBytes > kRiffMaxDataBytes, 2);
    std::vector<std::string_view> pieces{header};
    for (std::vector<std::int16_t>& pcm : held) {
        ToLittleEndian(pcm);
        pieces.emplace_back(reinterpret_cast<const char*>(pcm.data()),
                            pcm.size() * sizeof(std::int16_t));
    }
    if (output == "-") {
        return std::all_of(pieces.begin(), pieces.end(),
                           [](std::string_view p) { return WriteStdout(p.data(), p.size()); })
                   ? kExitOk
                   : kExitIoError;
    }
    if (!WritePiecesInPlace(output, pieces, error)) {
        PrintError(output, error);
        return kExitIoError;
    }
    return kExitOk;
}

unsigned Cores() {
    return std::max(1u, std::thread::hardware_concurrency());
}

} // namespace

unsigned WavWorkers() {
    if (const char* v = std::getenv("YOMI6_NATURAL_WORKERS")) {
        const long n = std::strtol(v, nullptr, 10);
        if (n >= 1 && n <= 64) {
            return static_cast<unsigned>(n);
        }
    }
    return Cores();
}

bool NaturalReadsAozora(const Options& options, std::string_view text) {
    const SpeechDefaults defaults = DefaultSpeechOptions();
    AnalyzerLoader analyzer;
    analyzer.SetConfiguredDictionary(defaults.analyzerDictionary);
    return ReadsAozoraOption(options, options.readings.value_or(defaults.readings), text, analyzer);
}

std::optional<natural::NaturalPassOptions> NaturalPassFor(const Options& options,
                                                          unsigned workers) {
    const auto setup = NaturalSetup(options);
    if (!setup) {
        return std::nullopt;
    }
    ReportAnalyzer(options);
    return PassOptions(*setup, workers);
}

int RunNaturalWav(const Options& options) {
    const auto setup = NaturalSetup(options);
    if (!setup) {
        return RunWav(options);
    }
    std::string text;
    Dictionary dictionary;
    if (!ReadNaturalInput(options, text, dictionary)) {
        return kExitIoError;
    }
    ReportAnalyzer(options);
    natural::NaturalPassOptions passOptions = PassOptions(*setup, WavWorkers());
    passOptions.aozora = NaturalReadsAozora(options, text);
    natural::NaturalPass pass(text, dictionary.View(), std::move(passOptions), PrintSkipped);
    return WriteNaturalWave(pass, options.wavOutput);
}

int RunNaturalUnits(const Options& options) {
    const auto setup = NaturalSetup(options);
    if (!setup) {
        return RunUnits(options);
    }
    std::string text;
    Dictionary dictionary;
    if (!ReadNaturalInput(options, text, dictionary)) {
        return kExitIoError;
    }
    ReportAnalyzer(options);
    natural::NaturalPassOptions passOptions = PassOptions(*setup, Cores());
    passOptions.aozora = NaturalReadsAozora(options, text);
    natural::NaturalPass pass(text, dictionary.View(), std::move(passOptions), PrintSkipped);
    std::string out;
    while (auto chunk = pass.Next()) {
        for (const natural::NaturalUnit& unit : chunk->units) {
            const std::size_t begin = std::min(unit.source.begin, text.size());
            const std::size_t end = std::clamp(unit.source.end, begin, text.size());
            out.append(unit.silent ? std::string("-") : unit.mora).push_back('\t');
            out.append(std::to_string(begin)).push_back('\t');
            out.append(std::to_string(end)).push_back('\t');
            AppendEscaped(out, std::string_view(text).substr(begin, end - begin));
            out.push_back('\t');
            out.append(std::to_string(unit.startFrame * 1000 / kRenderRate)).push_back('\n');
        }
    }
    if (const std::string failure = pass.Failure(); !failure.empty()) {
        PrintError("natural voice", failure);
        return kExitIoError;
    }
    return WriteStdout(out.data(), out.size()) ? kExitOk : kExitIoError;
}

} // namespace yomi6::cli
