// The one place that turns the user's choice of reading (the settings key 読み方, the menu item
// 漢字も読む, --readings) into the reading a text gets. The editor and the command line ask it
// alike, so that a new user and a script read the same way.
#pragma once

#include "reading/text_reader.h"
#include "settings/settings_keys.h"

#include <cstdint>
#include <string_view>

namespace yomi6 {

class AnalyzerLoader;

inline constexpr std::int32_t kReadingsDictionary = 0; // 読み方 0: the dictionary and the rules
inline constexpr std::int32_t kReadingsAutomatic = 1;  // 読み方 1: the analyzer reads the rest
// No 読み方 in the settings and nothing on the command line: read automatically whenever the
// analyzer can be loaded, else with the dictionary.
inline constexpr std::int32_t kReadingsUnchosen = settings_keys::kReadingsUnchosen;

// The mode for the choice readings. 0 and 1 are kept as chosen (an analyzer that cannot be
// loaded is then said at every reading, which falls back to the dictionary). With no choice,
// the automatic reading until analyzer has failed to load once (in the editor: in its run), the
// dictionary reading from then on: the failure is said once, at the first reading that tried.
// Never loads the analyzer itself: the reading loads it when it first needs it.
ReadingMode ResolveReadingMode(std::int32_t readings, const AnalyzerLoader& analyzer);

// The same with the analyzer of the setup.
ReadingMode ResolveReadingMode(std::int32_t readings, const ReaderSetup& setup);

// The choice that the menu item and the tool bar button make from the mode in effect: the other
// mode, chosen explicitly.
std::int32_t SwitchedReadings(std::int32_t readings, const AnalyzerLoader& analyzer);

// The reading pane of the status bar: "自動" or "辞書" (UTF-8).
std::string_view ReadingsIndicatorText(ReadingMode mode);

} // namespace yomi6
