// The reading of a text in either mode, with the source bytes of every reading byte.
#pragma once

#include "dictionary/dictionary_view.h"
#include "io/message_sink.h"
#include "reading/reading_conversion.h"
#include "reading/source_range.h"

namespace yomi6 {

class AnalyzerLoader;
class RubyGlossary;

enum class ReadingMode {
    Dictionary, // the dictionary words and the fixed folding rules, byte by byte
    Automatic,  // user words first, the analyzer for Japanese words, numbers read as numbers
};

// What a reading works with: the dictionary and the analyzer of whoever runs the reading (the
// editor's application context, a command-line run, a test).
struct ReaderSetup {
    ReaderSetup(const DictionaryView& dic, AnalyzerLoader& loader)
        : dictionary(dic), analyzer(&loader) {}

    DictionaryView dictionary;
    AnalyzerLoader* analyzer;         // the automatic mode's analyzer; never null
    IMessageSink* messages = nullptr; // where a failure to load the analyzer is said; may be null
    bool aozora = false;              // the automatic mode reads the text as Aozora notation
    // The words given a ruby in the text read before this one, learning this text's; kept by
    // the owner of a reading in passes. Null: this text's rubies alone.
    RubyGlossary* rubies = nullptr;
};

// Reads the first min(n, 4000) bytes of text in mode into reading and source (both
// zero-filled first). In the automatic mode an analyzer that cannot be loaded is reported once
// through setup.messages and this text is read in the dictionary mode.
ReadingResult ReadText(const unsigned char* text, std::size_t n, ReadingMode mode,
                       const ReaderSetup& setup, unsigned char (&reading)[kReadingBufferSize],
                       SourceRange (&source)[kReadingBufferSize]);

} // namespace yomi6
