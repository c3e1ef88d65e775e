// The report of a voice folder as plain English text, for the command line.
#pragma once

#include "voice/voice_folder.h"

#include <string>

namespace yomi6 {

// What a unit problem is, in a few words ("missing", "not a usable WAVE file", ...).
const char* UnitProblemText(UnitProblem problem);

// What is wrong with the folder as a whole, to follow "The folder " ("does not exist", "is not
// a folder but a regular file", "cannot be read: Permission denied"); empty when nothing is.
std::string FolderProblemText(const VoiceFolderReport& report);

// The whole report: the folder, the counts, the missing units, every unusable file with its
// reason, and the ignored files. Ends with a line end.
std::string FormatVoiceReport(const VoiceFolderReport& report);

} // namespace yomi6
