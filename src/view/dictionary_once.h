// The dictionary is loaded once per run, when the first text view is about to be created.
#pragma once

class QWidget;

namespace yomi6 {

// Loads the dictionary the first time it is called in the run (whatever the outcome), showing
// its messages in boxes over parent; later calls do nothing.
void LoadDictionaryOnce(QWidget* parent);

} // namespace yomi6
