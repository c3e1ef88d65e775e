#include "cli/cli_common.h"
#include "cli/cli_main.h"
#include "cli/cli_modes.h"
#include "cli/natural_modes.h"
#include "cli/speech_options.h"
#include "dictionary/dictionary_view.h"
#include "io/atomic_file.h"
#include "natural/natural_pass.h"
#include "natural/voice_setup.h"
#include "playback/wav_render.h"
#include "text/cp932_codec.h"
#include "text/document_encoding.h"
#include "text/utf8_codec.h"
#include "voice/sample_edit.h"

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

void AppendLe(std::string& out, std::uint32_t value, int bytes) {
    for (int k = 0; k < bytes; ++k) {
        out.push_back(static_cast<char>(value >> (8 * k) & 0xFF));
    }
}

std::string WaveImage(const std::vector<std::int16_t>& pcm, int rate) {
    const auto dataBytes = static_cast<std::uint32_t>(pcm.size() * 2);
    std::string out;
    out.reserve(44 + dataBytes);
    out += "RIFF";
    AppendLe(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    AppendLe(out, 16, 4);
    AppendLe(out, 1, 2); // PCM
    AppendLe(out, 1, 2); // mono
    AppendLe(out, static_cast<std::uint32_t>(rate), 4);
    AppendLe(out, static_cast<std::uint32_t>(rate) * 2, 4);
    AppendLe(out, 2, 2);
    AppendLe(out, 16, 2);
    out += "data";
    AppendLe(out, dataBytes, 4);
    for (const std::int16_t s : pcm) {
        AppendLe(out, static_cast<std::uint16_t>(s), 2);
    }
    return out;
}

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

std::optional<natural::NaturalPassOptions> NaturalPassFor(const Options& options,
                                                          unsigned workers) {
    const auto setup = NaturalSetup(options);
    if (!setup) {
        return std::nullopt;
    }
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
    natural::NaturalPass pass(text, dictionary.View(), PassOptions(*setup, WavWorkers()),
                              PrintSkipped);
    std::vector<std::int16_t> pcm;
    while (auto chunk = pass.Next()) {
        pcm.insert(pcm.end(), chunk->pcm.begin(), chunk->pcm.end());
    }
    const std::string image = WaveImage(pcm, kRenderRate);
    if (options.wavOutput == "-") {
        return WriteStdout(image.data(), image.size()) ? kExitOk : kExitIoError;
    }
    std::string error;
    if (!WriteFileAtomically(options.wavOutput, image, error, MissingDirectories::Fail)) {
        PrintError(options.wavOutput, error);
        return kExitIoError;
    }
    return kExitOk;
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
    natural::NaturalPass pass(text, dictionary.View(), PassOptions(*setup, Cores()), PrintSkipped);
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
    return WriteStdout(out.data(), out.size()) ? kExitOk : kExitIoError;
}

} // namespace yomi6::cli
