// Arranging the document windows of the main window.
#pragma once

class QMdiArea;

namespace yomi6 {

// Tiles the windows that are not minimized one above the other (horizontal) or side by side.
void TileWindows(QMdiArea& area, bool oneAboveTheOther);

// Lines the minimized windows up along the bottom of the area, from the left.
void ArrangeIcons(QMdiArea& area);

} // namespace yomi6
