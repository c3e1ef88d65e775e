// Find and replace on a text view.
#pragma once

#include "editor/find_dialog.h"

class QPlainTextEdit;

namespace yomi6 {

// Selects the next match after (or, backward, before) the current selection. False, with the
// selection unchanged, when there is none: the search does not wrap around.
bool FindNext(QPlainTextEdit& edit, const SearchOptions& options);

// Replaces the selection when it is a match, then selects the next match. False when no further
// match follows.
bool ReplaceOne(QPlainTextEdit& edit, const SearchOptions& options, const QString& replacement);

// Replaces every match in the whole text as one undoable step; returns how many.
int ReplaceAll(QPlainTextEdit& edit, const SearchOptions& options, const QString& replacement);

} // namespace yomi6
