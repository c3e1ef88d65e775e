// The pronunciation dictionary: its tables (built-in rows and the user rows read from the
// dictionary file), their index, the file's name and the loader's image of it. Its owner
// creates it (the editor's application context, a command-line run, a test) and hands it to
// what reads with it or edits its file.
#pragma once

#include "dictionary/dic_file.h"
#include "dictionary/dic_index.h"
#include "dictionary/dic_tables.h"
#include "dictionary/dictionary_view.h"
#include "io/message_sink.h"

#include <memory>
#include <string>

namespace yomi6 {

enum class ReadOnlyLoadResult { Loaded, NotFound, CannotOpen };

class Dictionary {
public:
    // The built-in rows, no user row, and the file fileName (by default "Yomi6.dic" in the
    // current directory).
    explicit Dictionary(std::string fileName = "Yomi6.dic");
    ~Dictionary();
    Dictionary(const Dictionary&) = delete;
    Dictionary& operator=(const Dictionary&) = delete;

    // The tables. Whoever writes them calls Changed() afterwards.
    DicTables& Tables() { return *m_tables; }
    const DicTables& Tables() const { return *m_tables; }
    // Marks the index out of date after a change of the tables.
    void Changed() { m_index.MarkChanged(); }
    const DicIndex& Index() const { return m_index; }

    // The tables as the reading conversion takes them, with the given lookup.
    DictionaryView View(DicLookup lookup = DicLookup::Indexed) const;

    // The dictionary file's name: "Yomi6.dic" in the current directory until the first load
    // that opens it, then that file's full path, so that later loads reach the same file
    // whatever the current directory has become. Not limited in length: a long path is kept
    // whole.
    const std::string& FileName() const { return m_fileName; }

    // Opens the dictionary file (creating a file of zero records when there is none), reads it
    // and rebuilds the user rows of the tables, longest words first. Problems are shown
    // through sink.
    void Load(IMessageSink& sink);

    // The same load for the command-line modes, which never create or write the file: a file
    // that cannot be opened leaves the tables as they are and says why. A short file is
    // reported through sink and loaded as far as it goes, as the editor does.
    ReadOnlyLoadResult LoadReadOnly(const std::string& path, IMessageSink& sink);

    // Rebuilds the user rows from a dictionary image of kDicImageSize bytes: words of 12 bytes
    // first, down to words of one byte, file order within a length. Then marks the index out of
    // date.
    void RebuildUserRows(const unsigned char* image);

    // The loader's image of the file as last read (kDicImageSize bytes, zero before a load).
    const unsigned char* Image() const { return m_image.get(); }

private:
    ZeroedPtr<DicTables> m_tables;
    DicIndex m_index;
    std::string m_fileName;
    bool m_fullPathTaken = false;
    DictionaryFile m_file;
    ZeroedPtr<unsigned char[]> m_image;
};

} // namespace yomi6
