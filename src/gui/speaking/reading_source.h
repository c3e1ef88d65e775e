// The reading the editor's windows show and preview for a text, in the current reading mode.
#pragma once

#include "reading/reading_provider.h"

namespace yomi6 {

class AppContext;

// The provider of the reading mode the preferences of context choose (at each call: context
// must outlive the provider), reading with its dictionary and analyzer. Every window that shows
// a reading asks through this one function, so that another reading mode is plugged in here
// only.
ReadingProvider CurrentReadingProvider(AppContext& context);

// The automatic reading, whatever the mode: the first guess of a word's reading when a selection
// is registered, for the user to correct.
ReadingProvider AutomaticReadingProvider(AppContext& context);

} // namespace yomi6
