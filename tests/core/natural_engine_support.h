// What the natural voice's tests share: the real engine set up with the test voice, and the
// trace of a text said by it.
#pragma once

#include "natural/chunk_synthesis.h"
#include "natural/engine_setup.h"
#include "natural/process_runner.h"
#include "natural/temp_folder.h"
#include "text/cp932_codec.h"
#include "text/utf8_codec.h"

#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace yomi6::natural::test {

// The natural voice's texts as the program holds them (Shift-JIS), and back for messages.
inline std::string Sjis(std::u16string_view text) {
    return EncodeCp932(text, EncodeOptions{LineEnd::Lf, OnUnencodable::Replace}).bytes;
}

inline std::string Utf8Of(std::string_view sjis) {
    return EncodeUtf8(DecodeCp932(sjis), EncodeOptions{LineEnd::Lf, OnUnencodable::Replace}).bytes;
}

inline EngineSetup TestSetup(Style style = Style::Neutral) {
    EngineSetup setup;
    setup.voiceFile = FindVoiceFile(style, YOMI6_NATURAL_TEST_VOICES, {});
    return setup;
}

// text (Shift-JIS) said as one chunk by the real engine with the test voice.
inline ChunkSound Say(const std::string& text, const DictionaryView* dic = nullptr) {
    SynthesisOptions options;
    options.setup = TestSetup();
    return SynthesizeChunk(text, {0, text.size()}, dic, options);
}

// What sound says, as "mora=source" for each unit and "_=source" for a silent one, joined by
// blanks. withSourceless false: the pauses that cover nothing (the silence around the chunk)
// are left out.
inline std::string Described(const std::string& text, const ChunkSound& sound,
                             bool withSourceless = true) {
    std::string out;
    for (const NaturalUnit& u : sound.units) {
        if (!withSourceless && u.silent && u.source.end == u.source.begin) {
            continue;
        }
        if (!out.empty()) {
            out += ' ';
        }
        out += u.silent ? "_" : u.mora;
        out += '=';
        out += Utf8Of(std::string_view(text).substr(u.source.begin, u.source.end - u.source.begin));
    }
    return out;
}

// The trace the real engine writes for utf8 (one line), or "" when it failed.
inline std::string EngineTrace(const std::string& utf8) {
    const TempFolder folder;
    std::ofstream(folder.File("in.txt")) << utf8 << '\n';
    const ProcessResult run = RunProcess(EngineArguments(
        TestSetup(), folder.File("in.txt"), folder.File("out.wav"), folder.File("out.trace")));
    if (!run.Succeeded()) {
        return "";
    }
    std::ifstream in(folder.File("out.trace"), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A stand-in for an engine that crashes on some chunks and hangs on others (the real engine does
// so only on inputs far longer than a chunk): it runs the real engine unless the text holds
// 落ちる (it aborts) or 止まる (it sleeps past the time limit).
inline std::string FaultyEngine(const std::string& folder) {
    std::string path = folder + "/faulty-engine";
    std::ofstream(path) << "#!/bin/sh\n"
                           "for last; do :; done\n"
                           "if grep -q 落ちる \"$last\"; then kill -ABRT $$; fi\n"
                           "if grep -q 止まる \"$last\"; then exec sleep 60; fi\n"
                           "exec /usr/bin/open_jtalk \"$@\"\n";
    ::chmod(path.c_str(), 0700);
    return path;
}

// A stand-in for an engine that misbehaves in a way the real one does only when something else
// interferes: a shell script in folder, named name, running body with the engine's arguments;
// $wav and $trace name the files the engine is asked to write.
inline std::string StandInEngine(const std::string& folder, const std::string& name,
                                 const std::string& body) {
    std::string path = folder + "/" + name;
    std::ofstream(path) << "#!/bin/sh\n"
                           "wav=$(printf '%s\\n' \"$@\" | sed -n '/^-ow$/{n;p}')\n"
                           "trace=$(printf '%s\\n' \"$@\" | sed -n '/^-ot$/{n;p}')\n"
                        << body << "\n";
    ::chmod(path.c_str(), 0700);
    return path;
}

} // namespace yomi6::natural::test
