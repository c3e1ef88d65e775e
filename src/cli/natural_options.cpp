#include "cli/natural_options.h"

#include "natural/engine_setup.h"

namespace yomi6::cli {

std::string ParseNaturalOption(const std::string& option,
                               const std::function<const std::string*(const char*)>& value,
                               Options& options) {
    if (option == "--engine") {
        const std::string* v = value("samples or natural");
        if (v == nullptr) {
            return "--engine needs samples or natural";
        }
        if (*v != "samples" && *v != "natural") {
            return "--engine takes samples or natural, not '" + *v + "'";
        }
        options.engine = *v == "natural" ? SpeechEngine::Natural : SpeechEngine::Samples;
        return "";
    }
    if (option == "--sample-rate") {
        const std::string* v = value("48000 or 16000");
        if (v == nullptr) {
            return "--sample-rate needs 48000 or 16000";
        }
        if (*v != "48000" && *v != "16000") {
            return "--sample-rate takes 48000 or 16000, not '" + *v + "'";
        }
        options.sampleRate = std::stoi(*v);
        return "";
    }
    const std::string* v = value("neutral, happy, sad or angry");
    if (v == nullptr) {
        return "--style needs neutral, happy, sad or angry";
    }
    if (!natural::ParseStyle(*v)) {
        return "--style takes neutral, happy, sad or angry, not '" + *v + "'";
    }
    options.style = *v;
    return "";
}

std::string CheckNaturalOptions(const Options& options) {
    if (options.engine == SpeechEngine::Natural && options.mode != Mode::Wav &&
        options.mode != Mode::Units && options.mode != Mode::Export &&
        options.mode != Mode::Speak) {
        return "--engine natural goes with --speak, --wav, --export or --units";
    }
    if (!options.style.empty() && options.engine != SpeechEngine::Natural) {
        return "--style goes with --engine natural";
    }
    if (options.sampleRate != 0 && (options.engine != SpeechEngine::Natural ||
                                    (options.mode != Mode::Wav && options.mode != Mode::Export))) {
        return "--sample-rate goes with --engine natural and --wav or --export";
    }
    return "";
}

} // namespace yomi6::cli
