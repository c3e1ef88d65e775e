// Where the settings file lives: "yomi6.ini" in the user's configuration directory.
#pragma once

#include <string>

namespace yomi6 {

// $XDG_CONFIG_HOME/yomi6.ini when that variable is set to an absolute path, else
// <home>/.config/yomi6.ini, with the home directory from $HOME (if absolute) or the user
// database. Empty when no home directory can be found. The directory may not exist yet;
// saving creates it.
std::string SettingsPath();

// The same rule over given values (nullptr for an unset variable), without the user database.
std::string SettingsPathFrom(const char* xdgConfigHome, const char* home);

// The folder that holds the user's voice folders: $XDG_DATA_HOME/yomi6/voices when that
// variable is an absolute path, else <home>/.local/share/yomi6/voices. Empty without a home.
std::string VoicesDirectory();
std::string VoicesDirectoryFrom(const char* xdgDataHome, const char* home);

} // namespace yomi6
