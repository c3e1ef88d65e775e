#include "cli/cli_options.h"

#include "cli/natural_options.h"

#include <charconv>
#include <functional>

namespace yomi6::cli {

namespace {

bool ParseSpeed(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && value >= 0 && value <= 1000;
}

bool ParseOffset(const std::string& text, std::size_t& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && ptr == end;
}

} // namespace

std::string UsageText() {
    return "Usage: yomi6 [FILE]                     open the editor\n"
           "       yomi6 --reading FILE             print the reading of FILE\n"
           "       yomi6 --schedule FILE            print the sample of each timer tick\n"
           "       yomi6 --units FILE               print each tick's sample, source bytes and "
           "text\n"
           "       yomi6 --wav OUT.wav FILE         render one pass of speech to OUT.wav\n"
           "       yomi6 --export OUT [--subtitles OUT] [--timings OUT] [--from N] [--to N]\n"
           "                    [--split chapters | --chapter-marks] FILE\n"
           "                                        render the whole of FILE to OUT: .wav, .flac,\n"
           "                                        .ogg (Vorbis), .opus or .mp3\n"
           "       yomi6 --speak FILE               speak one pass through the sound output\n"
           "       yomi6 --pdf OUT.pdf FILE         print the pages of FILE to OUT.pdf\n"
           "       yomi6 --labels FILE              print the full-context labels of each line\n"
           "                                        of FILE for the natural voice\n"
           "       yomi6 --chapters FILE            print the chapters of FILE: level, byte\n"
           "                                        offset and title, tab-separated\n"
           "       yomi6 --check-voice DIR          report which units the voice folder DIR\n"
           "                                        holds, which are missing and which are\n"
           "                                        unusable (exit 1 when one is unusable)\n"
           "Options:\n"
           "  --voice male|female   voice (default: the settings, else female)\n"
           "  --speed MS            milliseconds per tick, 0-1000 (default: the settings, else "
           "180)\n"
           "  --readings dictionary|auto\n"
           "                        how the text is read: the dictionary and the fixed rules,\n"
           "                        or automatically with the analyzer (default: the settings,\n"
           "                        else auto when the analyzer can be loaded)\n"
           "  --aozora auto|on|off  with --readings auto: read Aozora Bunko notation as the book\n"
           "                        (ruby for its base; notes, the notation block and the\n"
           "                        colophon silent) when the text has it, always, or never\n"
           "                        (default: auto, or off when the editor's item\n"
           "                        青空文庫の注記を読まない is unchecked)\n"
           "  --dictionary PATH     dictionary file (default: Yomi6.dic in the current directory)\n"
           "  --fit-samples         with --wav and --speak: shorten samples longer than a tick\n"
           "                        to the tick, keeping their pitch\n"
           "  --no-fit-samples      play the samples at their own length (default: the\n"
           "                        settings, else this)\n"
           "  --subtitles OUT       with --export: subtitles beside it, .srt or .vtt\n"
           "  --timings OUT         with --export: the time and source bytes of each unit, .json\n"
           "  --from N, --to N      with --export: read source bytes N to N (end exclusive)\n"
           "  --split chapters      with --export: one file per chapter, OUT-01-TITLE.EXT\n"
           "                        and so on (subtitles and timings alike), and a playlist\n"
           "                        OUT.m3u8 of them\n"
           "  --chapter-marks       with --export: one file with a mark where each chapter\n"
           "                        starts (.flac .ogg .opus: chapter comments, .mp3: ID3\n"
           "                        chapters, .m4b: made by ffmpeg when installed; .wav: none\n"
           "                        inside) and a cue sheet OUT.cue of them beside it\n"
           "  --encoding sjis|utf8|auto\n"
           "                        how FILE is read: Shift-JIS, UTF-8, or as the editor\n"
           "                        opens it (default: auto, UTF-8 when it is valid UTF-8)\n"
           "  --engine samples|natural\n"
           "                        with --speak, --wav, --export and --units: the recorded\n"
           "                        kana samples or the natural voice (the whole FILE)\n"
           "                        (default: the natural voice when the settings give\n"
           "                        it to the slot that speaks, else the samples)\n"
           "  --style neutral|happy|sad|angry\n"
           "                        with --engine natural: the natural voice's style\n"
           "                        (default: the slot's, else neutral)\n"
           "  --sample-rate 48000|16000\n"
           "                        with --engine natural and --wav or --export: the\n"
           "                        sound's rate (default: 48000, the voice's own)\n"
           "  --pitch N             with --engine natural: the voice's pitch in half-tones,\n"
           "                        -12 to 12 (default: the settings, else 0)\n"
           "  --intonation X        with --engine natural: the intonation's strength, 0\n"
           "                        (monotone) to 2 (default: the settings, else 1)\n"
           "  --style-weight P      with --engine natural: how strongly the style is said,\n"
           "                        0 (neutral) to 100 percent (default: the settings, else 100)\n"
           "  --pauses MARK=MS,...  with --engine natural: the pause in milliseconds (0 to\n"
           "                        5000) at comma (、), period (。), question (！ ？),\n"
           "                        ellipsis (……), dash (――), line (a line end) and blank\n"
           "                        (a blank line); marks not named keep the settings\n"
           "                        (default: comma=120,period=500,question=500,\n"
           "                        ellipsis=700,dash=400,line=800,blank=1500)\n"
           "  --dialogue-voice off|other|happy|sad|angry\n"
           "                        with --export, --wav and --speak: who says the lines\n"
           "                        in 「」 and 『』: the voice of the rest, the other slot's\n"
           "                        voice, or the natural voice happy, sad or angry; when\n"
           "                        not off, --wav and --speak say the whole FILE as\n"
           "                        --export does (default: the settings, else off)\n"
           "  --accent-rules all|none|RULE,...\n"
           "                        with --labels: which of this program's own accent rules\n"
           "                        apply (the manual page lists them; -RULE leaves one out;\n"
           "                        default: all)\n"
           "  --help                show this text\n"
           "  --version             show the version\n"
           "FILE may be - for standard input; no output may be the input or another output.\n"
           "Options and FILE go in any order; every argument after -- is a FILE.\n"
           "--units writes one line per timer tick of one pass, tab-separated: the sample name\n"
           "(- for none), the first and the end (exclusive) source byte of what the tick read,\n"
           "and that source text in UTF-8 (control characters and \\ as C escapes).\n"
           "The analyzer dictionary folder is $YOMI6_MECAB_DIC, else the settings file's\n"
           "\"解析辞書\", else /var/lib/mecab/dic/unidic when UniDic is installed, else\n"
           "/var/lib/mecab/dic/open-jtalk/naist-jdic when the Open JTalk dictionary is,\n"
           "else /var/lib/mecab/dic/ipadic-utf8.\n";
}

namespace {

// Reads an option with a value, --voice, --readings, --aozora, --speed, --encoding,
// --subtitles, --timings, --from, --to, --split, --dictionary or --accent-rules (a), into o; the
// problem as a usage error, "" when it is fine or when value found no argument (and said so
// itself).
std::string ParseValueOption(const std::string& a,
                             const std::function<const std::string*(const char*)>& value,
                             Options& o) {
    if (a == "--voice") {
        const std::string* v = value("male or female");
        if (v == nullptr) {
            return ""; // value said what is missing
        }
        if (*v != "male" && *v != "female") {
            return "--voice takes male or female, not '" + *v + "'";
        }
        o.voice = *v == "male" ? 1 : 0;
    } else if (a == "--readings") {
        const std::string* v = value("dictionary or auto");
        if (v == nullptr) {
            return ""; // value said what is missing
        }
        if (*v != "dictionary" && *v != "auto") {
            return "--readings takes dictionary or auto, not '" + *v + "'";
        }
        o.readings = *v == "auto" ? 1 : 0;
    } else if (a == "--aozora") {
        const std::string* v = value("auto, on or off");
        if (v == nullptr) {
            return ""; // value said what is missing
        }
        if (*v != "auto" && *v != "on" && *v != "off") {
            return "--aozora takes auto, on or off, not '" + *v + "'";
        }
        o.aozora = *v == "off" ? 0 : *v == "auto" ? 1 : 2;
    } else if (a == "--speed") {
        const std::string* v = value("a number of milliseconds");
        if (v == nullptr) {
            return ""; // value said what is missing
        }
        int speed = 0;
        if (!ParseSpeed(*v, speed)) {
            return "--speed takes a whole number from 0 to 1000, not '" + *v + "'";
        }
        o.speed = speed;
    } else if (a == "--encoding") {
        const std::string* v = value("sjis, utf8 or auto");
        if (v == nullptr) {
            return ""; // value said what is missing
        }
        if (*v != "sjis" && *v != "utf8" && *v != "auto") {
            return "--encoding takes sjis, utf8 or auto, not '" + *v + "'";
        }
        o.encoding = *v == "sjis"   ? InputEncoding::ShiftJis
                     : *v == "utf8" ? InputEncoding::Utf8
                                    : InputEncoding::Auto;
    } else if (a == "--subtitles" || a == "--timings") {
        const std::string* v = value("a file name");
        if (v == nullptr) {
            return ""; // value said what is missing
        }
        if (v->empty() || *v == "-") {
            return a + " needs a file name";
        }
        (a == "--subtitles" ? o.subtitles : o.timings) = *v;
    } else if (a == "--from" || a == "--to") {
        const std::string* v = value("a byte offset");
        if (v == nullptr) {
            return ""; // value said what is missing
        }
        std::size_t offset = 0;
        if (!ParseOffset(*v, offset)) {
            return a + " takes a byte offset (a whole number from 0), not '" + *v + "'";
        }
        (a == "--from" ? o.from : o.to) = offset;
    } else if (a == "--split") {
        const std::string* v = value("chapters");
        if (v == nullptr) {
            return ""; // value said what is missing
        }
        if (*v != "chapters") {
            return "--split takes chapters, not '" + *v + "'";
        }
        o.splitChapters = true;
    } else if (a == "--accent-rules") {
        const std::string* v = value("all, none or a list of rules");
        if (v == nullptr) {
            return ""; // value said what is missing
        }
        if (v->empty()) {
            return "--accent-rules needs all, none or a list of rules";
        }
        o.accentRules = *v;
    } else if (a == "--dictionary") {
        const std::string* v = value("a PATH");
        if (v == nullptr) {
            return ""; // value said what is missing
        }
        if (v->empty()) {
            return "--dictionary needs a non-empty PATH";
        }
        o.dictionary = *v;
    }
    return "";
}

// Whether the options fit together, once all are read; moves the FILE of a mode that reads
// one from the arguments that are no option to its input. The usage error, or "".
std::string CheckCombination(Options& o) {
    if (o.mode != Mode::Editor && o.mode != Mode::CheckVoice) {
        if (o.editorFiles.empty()) {
            return std::string(ModeOption(o.mode)) + " needs a FILE";
        }
        o.input = o.editorFiles.front();
        o.editorFiles.erase(o.editorFiles.begin());
    }
    if (o.mode != Mode::Editor && !o.editorFiles.empty()) {
        return "unexpected argument '" + o.editorFiles.front() + "'";
    }
    if (o.mode != Mode::Export && (!o.subtitles.empty() || !o.timings.empty() || o.from || o.to ||
                                   o.splitChapters || o.chapterMarks)) {
        return "--subtitles, --timings, --from, --to, --split and --chapter-marks go with "
               "--export";
    }
    if (o.dialogueVoice && o.mode != Mode::Export && o.mode != Mode::Wav && o.mode != Mode::Speak) {
        return "--dialogue-voice goes with --export, --wav and --speak";
    }
    if (o.splitChapters && o.chapterMarks) {
        return "--split chapters and --chapter-marks do not go together";
    }
    if (!o.accentRules.empty() && o.mode != Mode::Labels) {
        return "--accent-rules goes with --labels";
    }
    if (o.encoding && (o.mode == Mode::Editor || o.mode == Mode::CheckVoice)) {
        return "--encoding goes with a mode that reads a FILE";
    }
    if (o.from && o.to && *o.from > *o.to) {
        return "--from " + std::to_string(*o.from) + " is after --to " + std::to_string(*o.to);
    }
    if (std::string natural = CheckNaturalOptions(o); !natural.empty()) {
        return natural;
    }
    // The names of its files are checked by the program that runs it (export_names.h).
    if (o.mode == Mode::Export && o.exportOutput == "-") {
        return "--export needs a file name, not standard output";
    }
    return "";
}

} // namespace

const char* ModeOption(Mode mode) {
    switch (mode) {
    case Mode::Reading:
        return "--reading";
    case Mode::Schedule:
        return "--schedule";
    case Mode::Units:
        return "--units";
    case Mode::Wav:
        return "--wav";
    case Mode::Export:
        return "--export";
    case Mode::Speak:
        return "--speak";
    case Mode::Pdf:
        return "--pdf";
    case Mode::CheckVoice:
        return "--check-voice";
    case Mode::Labels:
        return "--labels";
    case Mode::Chapters:
        return "--chapters";
    case Mode::Editor:
    case Mode::Help:
    case Mode::Version:
        break;
    }
    return "";
}

ParseResult ParseCommandLine(const std::vector<std::string>& args) {
    ParseResult result;
    Options& o = result.options;
    bool modeSet = false;
    auto setMode = [&](Mode mode) {
        if (modeSet && o.mode != mode) {
            result.error =
                "only one of --reading, --schedule, --units, --wav, --export, --speak, --pdf, "
                "--check-voice, --labels, --chapters may be given";
            return false;
        }
        if (modeSet) {
            result.error = "a mode was given twice";
            return false;
        }
        modeSet = true;
        o.mode = mode;
        return true;
    };
    // As in GNU tools, options and the arguments that are none (the FILE, the editor's files)
    // come in any order, and "--" ends the options: every argument after it is a file.
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](const char* what) -> const std::string* {
            if (i + 1 >= args.size()) {
                result.error = a + " needs " + what;
                return nullptr;
            }
            return &args[++i];
        };
        if (optionsEnded || a == "-" || !a.starts_with('-')) {
            o.editorFiles.push_back(a);
        } else if (a == "--") {
            optionsEnded = true;
        } else if (a == "--help" || a == "-h") {
            o.mode = Mode::Help;
            return result;
        } else if (a == "--version") {
            o.mode = Mode::Version;
            return result;
        } else if (a == "--reading" || a == "--schedule" || a == "--units" || a == "--speak" ||
                   a == "--labels" || a == "--chapters") {
            const Mode mode = a == "--reading"    ? Mode::Reading
                              : a == "--schedule" ? Mode::Schedule
                              : a == "--units"    ? Mode::Units
                              : a == "--labels"   ? Mode::Labels
                              : a == "--chapters" ? Mode::Chapters
                                                  : Mode::Speak;
            if (!setMode(mode)) {
                return result;
            }
        } else if (a == "--wav" || a == "--pdf") {
            // OUT.wav or OUT.pdf; the FILE it is made from is an argument of its own.
            const bool wav = a == "--wav";
            const std::string outName = wav ? "OUT.wav" : "OUT.pdf";
            const std::string* out = value((outName + " and FILE").c_str());
            if (out == nullptr || !setMode(wav ? Mode::Wav : Mode::Pdf)) {
                return result;
            }
            if (out->empty()) {
                result.error = a + " needs a non-empty ";
                result.error += outName;
                return result;
            }
            (wav ? o.wavOutput : o.pdfOutput) = *out;
        } else if (a == "--check-voice") {
            const std::string* dir = value("a DIR");
            if (dir == nullptr || !setMode(Mode::CheckVoice)) {
                return result;
            }
            o.voiceFolder = *dir;
        } else if (a == "--export") {
            const std::string* out = value("OUT and a FILE");
            if (out == nullptr || !setMode(Mode::Export)) {
                return result;
            }
            o.exportOutput = *out;
        } else if (a == "--voice" || a == "--readings" || a == "--aozora" || a == "--speed" ||
                   a == "--encoding" || a == "--subtitles" || a == "--timings" || a == "--from" ||
                   a == "--to" || a == "--dictionary" || a == "--accent-rules" || a == "--split") {
            if (const std::string problem = ParseValueOption(a, value, o); !problem.empty()) {
                result.error = problem;
            }
            if (!result.error.empty()) {
                return result;
            }
        } else if (a == "--engine" || a == "--style" || a == "--sample-rate" || a == "--pitch" ||
                   a == "--intonation" || a == "--style-weight" || a == "--pauses") {
            if (const std::string problem = ParseNaturalOption(a, value, o); !problem.empty()) {
                result.error = problem;
                return result;
            }
        } else if (a == "--dialogue-voice") {
            const std::string* v = value("off, other, happy, sad or angry");
            if (v == nullptr) {
                return result;
            }
            o.dialogueVoice = ParseDialogueVoice(*v);
            if (!o.dialogueVoice) {
                result.error =
                    "--dialogue-voice takes off, other, happy, sad or angry, not '" + *v + "'";
                return result;
            }
        } else if (a == "--chapter-marks") {
            o.chapterMarks = true;
        } else if (a == "--fit-samples" || a == "--no-fit-samples") {
            o.fitSamples = a == "--fit-samples";
        } else {
            result.error = "unknown option '" + a + "'";
            return result;
        }
    }
    result.error = CheckCombination(o);
    return result;
}

} // namespace yomi6::cli
