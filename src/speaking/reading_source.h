// The reading the editor's windows show and preview for a text, in the current reading mode.
#pragma once

#include "reading/reading_provider.h"

namespace yomi6 {

struct SpeechPreferences;

// The provider of the reading mode preferences choose (at each call: preferences must outlive
// the provider). Every window that shows a reading asks through this one function, so that
// another reading mode is plugged in here only.
ReadingProvider CurrentReadingProvider(const SpeechPreferences& preferences);

// The automatic reading, whatever the mode: the first guess of a word's reading when a selection
// is registered, for the user to correct.
ReadingProvider AutomaticReadingProvider();

} // namespace yomi6
