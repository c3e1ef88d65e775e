// Loading the user rows of the dictionary tables from the dictionary file.
#pragma once

#include "io/message_sink.h"

#include <string>

// The dictionary file's name: "Yomi6.dic" in the current directory until the first load that
// opens it, then that file's full path, so that later loads reach the same file whatever the
// current directory has become. Not limited in length: a long path is kept whole.
extern std::string g_szDicFileName;

namespace yomi6 {

// Opens the dictionary file (creating a file of zero records when there is none), reads it and
// rebuilds the user rows of the tables, longest words first. Problems are shown through sink.
void LoadDictionary(IMessageSink& sink);

enum class ReadOnlyLoadResult { Loaded, NotFound, CannotOpen };

// The same load for the command-line modes, which never create or write the file: a file
// that cannot be opened leaves the tables as they are and says why. A short file is reported
// through sink and loaded as far as it goes, as the editor does.
ReadOnlyLoadResult LoadDictionaryReadOnly(const std::string& path, IMessageSink& sink);

// Rebuilds the user rows from a dictionary image of kDicImageSize bytes: words of 12 bytes
// first, down to words of one byte, file order within a length. Then rebuilds the word index.
void RebuildUserRows(const unsigned char* image);

// Puts the loader back in its state at program start (tests only): zero image, relative name.
void ResetDictionaryLoaderForTesting();

// The loader's image of the file as last read.
const unsigned char* DictionaryImage();

} // namespace yomi6
