#include "cli/cli_common.h"

#include "analysis/analyzer_loader.h"
#include "cli/speech_options.h"
#include "dictionary/dic_messages.h"
#include "dictionary/dictionary.h"
#include "playback/speech_state.h"
#include "reading/reading_conversion.h"
#include "text/speech_text.h"
#include "text/utf8_codec.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace yomi6::cli {

namespace {

constexpr const char* kDefaultDictionary = "Yomi6.dic";

// The dictionary's messages as the command line words them: it speaks English, the editor's
// boxes keep their Japanese texts.
struct EnglishDictionaryMessage {
    std::string_view boxText;
    std::string_view english;
};
constexpr EnglishDictionaryMessage kEnglishDictionaryMessages[] = {
    {dic_messages::kCannotOpen, "cannot open the dictionary file"},
    {dic_messages::kCannotWrite, "cannot write the dictionary file"},
    {dic_messages::kCannotRead, "cannot read the whole dictionary file; the rest is left empty"},
};

std::string_view InEnglish(std::string_view text) {
    for (const auto& m : kEnglishDictionaryMessages) {
        if (m.boxText == text) {
            return m.english;
        }
    }
    return text;
}

// bytes without a UTF-8 sequence that their end cuts short.
std::string_view WithoutCutCharacter(std::string_view bytes) {
    for (std::size_t back = 1; back <= 3 && back <= bytes.size(); ++back) {
        const auto c = static_cast<unsigned char>(bytes[bytes.size() - back]);
        if ((c & 0xC0) == 0x80) {
            continue; // a continuation byte: the sequence starts further back
        }
        const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return length > back ? bytes.substr(0, bytes.size() - back) : bytes;
    }
    return bytes;
}

// Where the first byte that is no part of a UTF-8 character lies.
std::size_t FirstNonUtf8Byte(std::string_view bytes) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data());
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t n = Utf8SequenceLength(p + at, bytes.size() - at);
        if (n == 0) {
            break;
        }
        at += n;
    }
    return at;
}

} // namespace

void StderrSink::ShowMessage(std::string_view text, MessageBoxType) {
    PrintError(m_where, InEnglish(text));
}

bool ChooseInputEncoding(const Options& options, std::string_view bytes, bool cut,
                         TextEncoding& encoding) {
    const std::string_view whole = cut ? WithoutCutCharacter(bytes) : bytes;
    switch (options.encoding.value_or(InputEncoding::Auto)) {
    case InputEncoding::ShiftJis:
        encoding = TextEncoding::Cp932;
        return true;
    case InputEncoding::Auto:
        encoding = DetectEncoding(whole);
        return true;
    case InputEncoding::Utf8:
        break;
    }
    if (!IsValidUtf8(whole)) {
        PrintError(options.input == "-" ? "standard input" : options.input,
                   "not UTF-8 (byte " + std::to_string(FirstNonUtf8Byte(whole)) +
                       " is no part of a UTF-8 character); --encoding sjis reads Shift-JIS");
        return false;
    }
    encoding = TextEncoding::Utf8;
    return true;
}

std::string InputSpeechBytes(std::string bytes, TextEncoding encoding, bool cut,
                             std::size_t maxBytes, std::vector<StandIn>* standIns) {
    if (encoding == TextEncoding::Cp932) {
        bytes.resize(std::min(bytes.size(), maxBytes));
        return bytes;
    }
    const std::string_view whole = cut ? WithoutCutCharacter(bytes) : bytes;
    return SpeechBytes(DecodeDocumentAs(whole, encoding).text, maxBytes, standIns);
}

void PrintError(std::string_view where, std::string_view what) {
    std::string line = "yomi6: ";
    line.append(where).append(": ").append(what).append("\n");
    std::fwrite(line.data(), 1, line.size(), stderr);
}

bool LoadCliDictionary(const Options& options, Dictionary& dictionary) {
    const bool named = !options.dictionary.empty();
    const std::string path = named ? options.dictionary : kDefaultDictionary;
    StderrSink sink(path);
    switch (dictionary.LoadReadOnly(path, sink)) {
    case ReadOnlyLoadResult::Loaded:
        return true;
    case ReadOnlyLoadResult::NotFound:
        if (named) {
            PrintError(path, "dictionary file not found");
            return false;
        }
        return true; // the built-in rows only
    case ReadOnlyLoadResult::CannotOpen: {
        const int err = errno;
        struct stat st {};
        const bool notAFile =
            ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
        const std::string why = notAFile ? "not a regular file" : std::strerror(err);
        if (named) {
            PrintError(path, "cannot open the dictionary file: " + why);
            return false;
        }
        PrintError(path, "cannot open the dictionary file (" + why + "); using the built-in words");
        return true;
    }
    }
    return false;
}

bool ReadInput(const std::string& path, std::size_t maxBytes, std::string& bytes) {
    const bool standardInput = path == "-";
    const std::string where = standardInput ? "standard input" : path;
    const int fd = standardInput ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        PrintError(where, std::strerror(errno));
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        PrintError(where, std::strerror(EISDIR));
        if (!standardInput) {
            ::close(fd);
        }
        return false;
    }
    // The buffer grows with what is read, from the file's size (and a byte more, which finds
    // its end) when it has one: a short file costs no zeroed megabyte.
    constexpr std::size_t kFirstBlock = 64 * 1024;
    const std::size_t expected =
        S_ISREG(st.st_mode) && st.st_size > 0 ? static_cast<std::size_t>(st.st_size) + 1 : 0;
    bytes.assign(std::min(maxBytes, std::max(expected, kFirstBlock)), '\0');
    std::size_t done = 0;
    bool ok = true;
    while (done < maxBytes) {
        if (done == bytes.size()) {
            bytes.resize(std::min(maxBytes, 2 * bytes.size()));
        }
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            PrintError(where, std::strerror(errno));
            ok = false;
            break;
        }
        if (n == 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    if (!standardInput) {
        ::close(fd);
    }
    return ok;
}

int PrepareSpeech(const Options& options, SpeechState& speech, std::string* source) {
    // As much of the file as the editor opens, so that its encoding is told as the editor
    // tells it; one pass reads the first 4000 bytes of its text.
    std::string bytes;
    TextEncoding encoding = TextEncoding::Cp932;
    if (!ReadInput(options.input, kMaxDocumentBytes + 1, bytes)) {
        return kExitIoError;
    }
    const bool cut = bytes.size() > kMaxDocumentBytes;
    // One pass is read, here: the dictionary and the analyzer are not needed after it.
    CliReading run;
    if (!ChooseInputEncoding(options, bytes, cut, encoding) ||
        !LoadCliDictionary(options, run.dictionary)) {
        return kExitIoError;
    }
    std::string text = InputSpeechBytes(std::move(bytes), encoding, cut, kMaxTextBytes);
    const SpeechDefaults defaults = DefaultSpeechOptions();
    speech.readings = options.readings.value_or(defaults.readings);
    run.analyzer.SetConfiguredDictionary(defaults.analyzerDictionary);
    StderrSink sink(AutomaticReadingSource(options));
    ReaderSetup setup(run.dictionary.View(), run.analyzer);
    setup.messages = &sink;
    setup.aozora = ReadsAozoraOption(options, speech.readings, text, run.analyzer);
    StartSpeech(speech, reinterpret_cast<const unsigned char*>(text.data()), text.size(), setup);
    if (source != nullptr) {
        *source = std::move(text);
    }
    return kExitOk;
}

} // namespace yomi6::cli
