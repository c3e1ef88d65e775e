// A stand-in for our own full-context labels until the label library lands: the labels the
// open_jtalk program's own front end makes for a text, read from its trace (-ot), with the
// times its engine gave each and the sound it made. For tests and benchmarks only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace yomi6::test {

inline constexpr const char* kOpenJTalk = "/usr/bin/open_jtalk";
inline constexpr const char* kOpenJTalkDictionary = "/var/lib/mecab/dic/open-jtalk/naist-jdic";

struct OpenJTalkRun {
    std::vector<std::string> labels;  // without times
    std::vector<std::int64_t> starts; // each label's start and end, in 100 ns
    std::vector<std::int64_t> ends;
    std::vector<std::int16_t> pcm; // the sound it wrote (-ow), at the voice's rate
    int sampleRate = 0;
};

// Whether open_jtalk and its dictionary are installed.
bool HasOpenJTalk();

// open_jtalk run once on utf8 (one line) with voiceFile and its default settings; nullopt when
// it is missing or failed.
std::optional<OpenJTalkRun> RunOpenJTalk(const std::string& utf8, const std::string& voiceFile);

// The labels, with their times, of the "[Output label]" part of an open_jtalk trace.
OpenJTalkRun ParseTraceLabels(const std::string& trace);

} // namespace yomi6::test
