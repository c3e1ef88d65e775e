// The editor: the application with its main window.
#pragma once

#include <string>
#include <vector>

namespace yomi6 {

// Runs the editor until its main window closes; returns the process's exit status.
int RunEditor(int argc, char** argv, const std::vector<std::string>& files);

} // namespace yomi6
