#include "analysis/analyzer_loader.h"
#include "cli/cli_common.h"
#include "cli/cli_main.h"
#include "cli/cli_modes.h"
#include "cli/natural_modes.h"
#include "cli/speech_options.h"
#include "dictionary/dictionary_view.h"
#include "engine/engine_choice.h"
#include "export/audio_file_writer.h"
#include "export/engine_factory.h"
#include "export/natural_engine.h"
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

// The natural pass the options and the settings' slot choose, saying workers chunks at once;
// std::nullopt for the samples, after the line that says what is missing when a natural voice
// was chosen.
std::optional<natural::NaturalPassOptions> ChosenPass(const Options& options, unsigned workers) {
    return NaturalPassOf(EngineRequestOf(options, workers));
}

} // namespace

std::optional<natural::NaturalPassOptions> NaturalPassOf(const EngineRequest& request) {
    const ChosenEngine chosen = ChooseEngine(natural::RunInstallation(), request);
    if (!chosen.natural) {
        return std::nullopt;
    }
    if (!chosen.SpeaksNaturally()) {
        PrintError("natural voice",
                   natural::MissingText(chosen.setup) + "; the sample voice speaks instead");
        return std::nullopt;
    }
    return chosen.pass;
}

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

} // namespace

int WriteEngineWave(yomi6::SpeechEngine& engine, std::string_view text, const std::string& output) {
    const bool inPlace = output == "-" || WritesInPlace(output);
    const bool sixteen = engine.Bits() == SampleBits::Sixteen;
    std::string error;
    AudioFileWriter file;
    if (!inPlace &&
        !file.Open(output, AudioFormat::Wav, engine.SampleRate(), engine.Bits(), error)) {
        PrintError(output, error);
        return kExitIoError;
    }
    std::vector<std::string> held;
    std::uint64_t dataBytes = 0;
    EngineSink sink;
    sink.onBlock = [&](const SoundBlock& block) {
        if (!inPlace) {
            return sixteen ? file.Write(block.sixteen, block.count, error)
                           : file.Write(block.eight, block.count, error);
        }
        if (sixteen) {
            std::vector<std::int16_t> pcm(block.sixteen, block.sixteen + block.count);
            ToLittleEndian(pcm);
            held.emplace_back(reinterpret_cast<const char*>(pcm.data()),
                              pcm.size() * sizeof(std::int16_t));
        } else {
            held.emplace_back(reinterpret_cast<const char*>(block.eight), block.count);
        }
        dataBytes += held.back().size();
        return true;
    };
    const EngineResult said = engine.Say(EngineText{text}, sink);
    if (said.status == SpeechStatus::Failed) {
        PrintError("natural voice", NaturalFailure(said.error));
        return kExitIoError;
    }
    if (said.status == SpeechStatus::Stopped) {
        PrintError(output, error);
        return kExitIoError;
    }
    if (!inPlace) {
        if (!file.Finish(error)) {
            PrintError(output, error);
            return kExitIoError;
        }
        return kExitOk;
    }
    const std::string header = WaveStreamHeader(dataBytes, engine.SampleRate(),
                                                dataBytes > kRiffMaxDataBytes, sixteen ? 2 : 1);
    std::vector<std::string_view> pieces{header};
    pieces.insert(pieces.end(), held.begin(), held.end());
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

namespace {

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
    std::optional<natural::NaturalPassOptions> pass = ChosenPass(options, workers);
    if (pass) {
        ReportAnalyzer(options);
    }
    return pass;
}

int RunNaturalWav(const Options& options) {
    std::optional<natural::NaturalPassOptions> pass = ChosenPass(options, WavWorkers());
    if (!pass) {
        return RunWav(options);
    }
    std::string text;
    Dictionary dictionary;
    if (!ReadNaturalInput(options, text, dictionary)) {
        return kExitIoError;
    }
    ReportAnalyzer(options);
    pass->aozora = NaturalReadsAozora(options, text);
    const std::unique_ptr<yomi6::SpeechEngine> engine =
        MakeNaturalEngine(dictionary.View(), *pass, PrintSkipped);
    return WriteEngineWave(*engine, text, options.wavOutput);
}

int RunNaturalUnits(const Options& options) {
    std::optional<natural::NaturalPassOptions> pass = ChosenPass(options, Cores());
    if (!pass) {
        return RunUnits(options);
    }
    std::string text;
    Dictionary dictionary;
    if (!ReadNaturalInput(options, text, dictionary)) {
        return kExitIoError;
    }
    ReportAnalyzer(options);
    pass->aozora = NaturalReadsAozora(options, text);
    const std::unique_ptr<yomi6::SpeechEngine> engine =
        MakeNaturalEngine(dictionary.View(), *pass, PrintSkipped);
    const int rate = engine->SampleRate();
    std::string out;
    EngineSink sink;
    sink.onBlock = [&](const SoundBlock& block) {
        for (const SpokenUnit& unit : block.units) {
            out.append(unit.says.empty() ? std::string_view("-") : unit.says).push_back('\t');
            out.append(std::to_string(unit.sourceBegin)).push_back('\t');
            out.append(std::to_string(unit.sourceEnd)).push_back('\t');
            AppendEscaped(out, std::string_view(text).substr(unit.sourceBegin,
                                                             unit.sourceEnd - unit.sourceBegin));
            out.push_back('\t');
            out.append(std::to_string(unit.startFrame * 1000 / rate)).push_back('\n');
        }
        return true;
    };
    if (const EngineResult said = engine->Say(EngineText{text}, sink);
        said.status != SpeechStatus::Done) {
        PrintError("natural voice", NaturalFailure(said.error));
        return kExitIoError;
    }
    return WriteStdout(out.data(), out.size()) ? kExitOk : kExitIoError;
}

} // namespace yomi6::cli
