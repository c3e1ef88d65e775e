#include "analysis/analyzer_loader.h"
#include "analysis/mecab_analyzer.h"
#include "cli/cli_common.h"
#include "cli/cli_main.h"
#include "cli/cli_modes.h"
#include "labels/labeler.h"
#include "text/document_encoding.h"
#include "text/utf8_codec.h"

#include <cstdlib>
#include <memory>
#include <string>

namespace yomi6::cli {

namespace {

// The dictionary whose entries carry the accent (Debian: open-jtalk-mecab-naist-jdic).
constexpr const char* kAccentDictionary = "/var/lib/mecab/dic/open-jtalk/naist-jdic";

// The most of FILE that is read.
constexpr std::size_t kMaxLabelBytes = 16u << 20;

} // namespace

int RunLabels(const Options& options) {
    labels::AccentRules rules;
    std::string error;
    if (!labels::AccentRules::Parse(options.accentRules.empty() ? "all" : options.accentRules,
                                    rules, error)) {
        PrintError("--accent-rules", error);
        return kExitUsage;
    }
    std::string bytes;
    if (!ReadInput(options.input, kMaxLabelBytes, bytes)) {
        return kExitIoError;
    }
    TextEncoding encoding = TextEncoding::Utf8;
    if (!ChooseInputEncoding(options, bytes, false, encoding)) {
        return kExitIoError;
    }
    const std::string text = EncodeUtf8(DecodeDocumentAs(bytes, encoding).text,
                                        EncodeOptions{LineEnd::Lf, OnUnencodable::Replace})
                                 .bytes;
    const char* named = std::getenv(kAnalyzerDictionaryVariable);
    const std::string folder = named != nullptr && *named != '\0' ? named : kAccentDictionary;
    const std::unique_ptr<Analyzer> analyzer = OpenMecabAnalyzer(folder, error);
    if (analyzer == nullptr) {
        PrintError("--labels", error + (named == nullptr ? " (Debian: install the package "
                                                           "open-jtalk-mecab-naist-jdic)"
                                                         : ""));
        return kExitIoError;
    }
    labels::Labeler labeler(*analyzer, rules);
    std::string out;
    std::vector<std::string> labels;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        if (!labeler.Labels(std::string_view(text).substr(start, end - start), labels)) {
            PrintError("--labels",
                       "the analyzer failed on the line at byte " + std::to_string(start));
            return kExitIoError;
        }
        for (const std::string& label : labels) {
            out += label;
            out += '\n';
        }
        start = end + 1;
    }
    return WriteStdout(out.data(), out.size()) ? kExitOk : kExitIoError;
}

} // namespace yomi6::cli
