// What every command-line mode shares: diagnostics, the dictionary, the input text.
#pragma once

#include "analysis/analyzer_loader.h"
#include "cli/cli_options.h"
#include "dictionary/dictionary.h"
#include "io/message_sink.h"
#include "text/document_encoding.h"
#include "text/speech_text.h"

#include <string>
#include <string_view>
#include <vector>

namespace yomi6 {
struct SpeechState;
}

namespace yomi6::cli {

// Exit statuses of the command-line modes.
inline constexpr int kExitOk = 0;
inline constexpr int kExitIoError = 1;
inline constexpr int kExitUsage = 2;

// Writes "yomi6: WHERE: WHAT" as one line to standard error.
void PrintError(std::string_view where, std::string_view what);

// Messages of the dictionary and the analyzer on standard error, naming where they come from;
// the mode goes on.
class StderrSink : public IMessageSink {
public:
    explicit StderrSink(std::string where) : m_where(std::move(where)) {}
    void ShowMessage(std::string_view text, MessageBoxType type) override;

private:
    std::string m_where;
};

// What a command-line mode reads with: made by the mode that runs, kept while it reads.
struct CliReading {
    Dictionary dictionary;
    AnalyzerLoader analyzer;
};

// Loads the dictionary the options name into dictionary (never creating or writing it). A
// missing default dictionary leaves the built-in rows; a missing or unopenable named one is an
// error. Returns false after printing the error.
bool LoadCliDictionary(const Options& options, Dictionary& dictionary);

// Reads at most maxBytes of the file (or of standard input for "-") into bytes. Returns false
// after printing the error.
bool ReadInput(const std::string& path, std::size_t maxBytes, std::string& bytes);

// The encoding the input's bytes are read in, as --encoding says: Shift-JIS; UTF-8; or, by
// default, as the editor opens a file (DetectEncoding). cut says that bytes are only the start
// of the file, so that a character cut at their end does not count against UTF-8. False after
// printing the error when --encoding utf8 is given bytes that are not UTF-8.
bool ChooseInputEncoding(const Options& options, std::string_view bytes, bool cut,
                         TextEncoding& encoding);

// The bytes the speech path reads of input bytes in encoding, at most maxBytes of them:
// Shift-JIS bytes as they are; the text of UTF-8 bytes in code page 932 with CR LF line ends,
// as the editor speaks a UTF-8 document (SpeechBytes, whose stand-ins go to standIns when it
// is given). cut as for ChooseInputEncoding.
std::string InputSpeechBytes(std::string bytes, TextEncoding encoding, bool cut,
                             std::size_t maxBytes, std::vector<StandIn>* standIns = nullptr);

// The dictionary and the first 4000 bytes of the input turned into the mode's speech state,
// as the speak command leaves it, read as --readings or the settings say (an analyzer that
// cannot be loaded is reported on standard error, and the text read with the dictionary).
// The bytes read go to *source when it is given. Returns an exit status.
int PrepareSpeech(const Options& options, SpeechState& speech, std::string* source = nullptr);

} // namespace yomi6::cli
