// A private folder for the files of one engine run, removed with everything in it when the
// object goes.
#pragma once

#include <string>

namespace yomi6::natural {

class TempFolder {
public:
    // Creates a folder only the user can enter under $TMPDIR (else /tmp); Path() is "" and
    // Error() says why when that fails.
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    const std::string& Path() const { return m_path; }
    const std::string& Error() const { return m_error; }
    // The path of a file name inside the folder.
    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
    std::string m_error;
};

} // namespace yomi6::natural
