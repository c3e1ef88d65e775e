// The analyzer over MeCab with an IPADIC dictionary in UTF-8.
#pragma once

#include "speech/analyzer.h"

#include <memory>
#include <string>

namespace yomi6 {

// The dictionary folder used when neither the environment nor the settings name one.
inline constexpr std::string_view kDefaultAnalyzerDictionary = "/var/lib/mecab/dic/ipadic-utf8";

// Opens MeCab over the dictionary folder dicDir (named explicitly: no resource file of the
// system is read, so another dictionary package installed beside it changes nothing). nullptr,
// with a message naming the folder in error, when the folder or its files are missing,
// unreadable or damaged.
std::unique_ptr<Analyzer> OpenMecabAnalyzer(const std::string& dicDir, std::string& error);

} // namespace yomi6
