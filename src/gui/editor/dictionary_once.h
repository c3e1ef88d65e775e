// The dictionary is loaded once per run, when the first text view is about to be created.
#pragma once

class QWidget;

namespace yomi6 {

class AppContext;

// Loads the dictionary the first time it is called in the run of context (whatever the
// outcome), showing its messages in boxes over parent; later calls do nothing.
void LoadDictionaryOnce(AppContext& context, QWidget* parent);

} // namespace yomi6
