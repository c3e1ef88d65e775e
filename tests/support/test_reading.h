// A test's own dictionary and analyzer, and the reading setup that reads with them: what the
// editor's application context or a command-line run owns, made by the test itself.
#pragma once

#include "analysis/analyzer_loader.h"
#include "dictionary/dictionary.h"
#include "reading/text_reader.h"

namespace yomi6::test {

struct TestReading {
    Dictionary dictionary;
    AnalyzerLoader analyzer;

    ReaderSetup Setup() { return ReaderSetup(dictionary.View(), analyzer); }
};

} // namespace yomi6::test
