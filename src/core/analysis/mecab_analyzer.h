// The analyzer over MeCab with an IPADIC dictionary in UTF-8.
#pragma once

#include "analysis/analyzer.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>

namespace yomi6 {

// IPADIC in UTF-8 (Debian: mecab-ipadic-utf8), the dictionary installed with the program.
inline constexpr std::string_view kDefaultAnalyzerDictionary = "/var/lib/mecab/dic/ipadic-utf8";
// UniDic (Debian: unidic-mecab), which reads best but is too large (1 GB to download) to be a
// dependency.
inline constexpr std::string_view kUniDicAnalyzerDictionary = "/var/lib/mecab/dic/unidic";
// The Open JTalk dictionary (Debian: open-jtalk-mecab-naist-jdic), installed for the natural
// voice's accents; it reads literature and Aozora files better than IPADIC. It ships no dicrc.
inline constexpr std::string_view kOpenJTalkAnalyzerDictionary =
    "/var/lib/mecab/dic/open-jtalk/naist-jdic";
// The folders tried in turn when neither the environment nor the settings name one: the first
// that holds a dictionary is used (see tests/accuracy/README.md for the measurements).
inline constexpr std::array<std::string_view, 3> kDefaultAnalyzerDictionaries = {
    kUniDicAnalyzerDictionary, kOpenJTalkAnalyzerDictionary, kDefaultAnalyzerDictionary};

// Opens MeCab over the dictionary folder dicDir (named explicitly: no resource file of the
// system is read, so another dictionary package installed beside it changes nothing). nullptr,
// with a message naming the folder in error, when the folder or its files are missing,
// unreadable or damaged.
std::unique_ptr<Analyzer> OpenMecabAnalyzer(const std::string& dicDir, std::string& error);

} // namespace yomi6
