// A private folder for the files of one engine run, removed with everything in it when the
// object goes.
#pragma once

#include <string>
#include <vector>

namespace yomi6::natural {

class TempFolder {
public:
    // Creates a folder only the user can enter under $TMPDIR (else /tmp), noted for the
    // clean-up after a signal (io/temporary_registry.h); Path() is absolute (a relative $TMPDIR
    // is taken from the working folder, so that no path given to the engine starts with '-'),
    // or "" with Error() saying why when the folder cannot be made.
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    const std::string& Path() const { return m_path; }
    const std::string& Error() const { return m_error; }
    // The path of a file name inside the folder.
    std::string File(const std::string& name) const { return m_path + "/" + name; }
    // The same, noted as a temporary file, so that a command-line run ended by a signal
    // removes it too, and then the folder.
    std::string NotedFile(const std::string& name);

private:
    std::string m_path;
    std::string m_error;
    std::vector<std::string> m_noted;
};

} // namespace yomi6::natural
