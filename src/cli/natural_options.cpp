#include "cli/natural_options.h"

#include "natural/engine_setup.h"
#include "settings/pause_table.h"

#include <charconv>

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
    if (option == "--pitch" || option == "--style-weight") {
        const bool pitch = option == "--pitch";
        const std::string wanted =
            pitch ? "a whole number from -12 to 12" : "a whole number from 0 to 100";
        const std::string* v = value(wanted.c_str());
        if (v == nullptr) {
            return option + " needs " + wanted;
        }
        int number = 0;
        const char* end = v->data() + v->size();
        const auto [ptr, ec] = std::from_chars(v->data(), end, number);
        if (ec != std::errc() || ptr != end || number < (pitch ? -12 : 0) ||
            number > (pitch ? 12 : 100)) {
            return option + " takes " + wanted + ", not '" + *v + "'";
        }
        (pitch ? options.pitch : options.styleWeight) = number;
        return "";
    }
    if (option == "--pauses") {
        const std::string* v = value("a list such as comma=250,period=600");
        if (v == nullptr) {
            return "--pauses needs a list such as comma=250,period=600";
        }
        PauseTable checked = DefaultPauses();
        if (std::string problem = ParsePauseList(*v, checked); !problem.empty()) {
            return problem;
        }
        options.pauses = *v;
        return "";
    }
    if (option == "--intonation") {
        const std::string* v = value("a number from 0 to 2");
        if (v == nullptr) {
            return "--intonation needs a number from 0 to 2";
        }
        double number = 0;
        const char* end = v->data() + v->size();
        const auto [ptr, ec] = std::from_chars(v->data(), end, number);
        if (ec != std::errc() || ptr != end || !(number >= 0.0 && number <= 2.0)) {
            return "--intonation takes a number from 0 to 2, not '" + *v + "'";
        }
        options.intonation = number;
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
    for (const auto& [set, name] : {std::pair{options.pitch.has_value(), "--pitch"},
                                    std::pair{options.intonation.has_value(), "--intonation"},
                                    std::pair{options.styleWeight.has_value(), "--style-weight"},
                                    std::pair{!options.pauses.empty(), "--pauses"}}) {
        if (set && options.engine != SpeechEngine::Natural) {
            return std::string(name) + " goes with --engine natural";
        }
    }
    if (options.sampleRate != 0 && (options.engine != SpeechEngine::Natural ||
                                    (options.mode != Mode::Wav && options.mode != Mode::Export))) {
        return "--sample-rate goes with --engine natural and --wav or --export";
    }
    return "";
}

} // namespace yomi6::cli
