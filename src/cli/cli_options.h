// The command line: which mode, which files, which options.
#pragma once

#include "settings/dialogue_voice.h"

#include <optional>
#include <string>
#include <vector>

namespace yomi6::cli {

enum class Mode {
    Editor,
    Reading,
    Schedule,
    Units,
    Wav,
    Export,
    Speak,
    Pdf,
    CheckVoice,
    Labels,
    Chapters,
    Help,
    Version
};

// How the FILE of a mode is read: --encoding.
enum class InputEncoding {
    Auto,     // as the editor opens it: valid UTF-8 that is not plain ASCII is UTF-8
    ShiftJis, // code page 932, byte for byte
    Utf8,
};

// Which engine speaks: --engine.
enum class SpeechEngine { Samples, Natural };

struct Options {
    Mode mode = Mode::Editor;
    std::string input;               // FILE of a mode, "-" for standard input
    std::string wavOutput;           // OUT.wav of --wav
    std::string pdfOutput;           // OUT.pdf of --pdf
    std::string voiceFolder;         // DIR of --check-voice
    std::string exportOutput;        // OUT.{wav,flac,ogg,opus,mp3} of --export
    std::string subtitles;           // --subtitles OUT.{srt,vtt} of --export
    std::string timings;             // --timings OUT.json of --export
    bool splitChapters = false;      // --split chapters of --export
    bool chapterMarks = false;       // --chapter-marks of --export
    std::optional<std::size_t> from; // --from N: the first source byte --export reads
    std::optional<std::size_t> to;   // --to N: the source byte where --export stops
    std::string dictionary;      // --dictionary PATH; empty: "Yomi6.dic" in the current directory
    std::optional<int> voice;    // --voice: 1 male, 0 female; unset: the settings' value
    std::optional<int> speed;    // --speed MS; unset: the settings' value
    std::optional<int> readings; // --readings: 0 dictionary, 1 auto; unset: the settings' value
    std::optional<int> aozora;   // --aozora: 0 off, 1 auto, 2 on (AozoraMode); unset: the settings'
    std::optional<bool> fitSamples;        // --fit-samples / --no-fit-samples; unset: the settings'
    std::optional<InputEncoding> encoding; // --encoding sjis|utf8|auto; unset: auto
    std::vector<std::string> editorFiles;  // files to open in the editor (read: every argument
                                           // that is no option, the FILE of a mode first)
    // --engine samples|natural; unset: the natural voice when the slot that speaks has it in the
    // settings file, else the samples.
    std::optional<SpeechEngine> engine;
    std::string style;  // --style of the natural voice; "": the slot's, else neutral
    int sampleRate = 0; // --sample-rate of the natural voice's --wav/--export; 0: its own
    // The natural voice's controls for this run; unset: the settings'.
    std::optional<int> pitch;         // --pitch N, half-tones from -12 to 12
    std::optional<double> intonation; // --intonation X, 0 (monotone) to 2; 1 as the voice makes it
    std::optional<int> styleWeight;   // --style-weight P, percent of the style over neutral
    // --pauses comma=MS,...: the natural voice's pauses at the marks named, the others the
    // settings'; empty: all the settings'. Checked when it is read (ParsePauseList).
    std::string pauses;
    std::string accentRules; // --accent-rules of --labels; "": all
    // --dialogue-voice of --export, --wav and --speak: who says the lines in 「」 and 『』; unset:
    // the settings'.
    std::optional<DialogueVoice> dialogueVoice;
};

struct ParseResult {
    Options options;
    std::string error; // non-empty: a usage error
};

ParseResult ParseCommandLine(const std::vector<std::string>& args);

// The text of --help.
std::string UsageText();

// The option that names a mode, for its messages ("--wav"); "" for the editor, --help and
// --version.
const char* ModeOption(Mode mode);

} // namespace yomi6::cli
