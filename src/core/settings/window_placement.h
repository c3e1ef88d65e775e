// Where a window whose rectangle was saved in the settings file opens: the saved rectangle
// fitted into the screen area the window may use, whatever numbers the file holds.
#pragma once

#include "settings/shell_profile.h"

namespace yomi6 {

// The rectangle (left, top, right, bottom; right and bottom exclusive) that the window takes
// when saved was its last rectangle and area is the screen's usable area:
// - an extent that is not positive (right <= left, bottom <= top) becomes the default window
//   extent (580 by 350);
// - an extent larger than the area's is cut to the area's;
// - the rectangle is then moved, keeping its extent, the least distance that brings it wholly
//   inside the area.
// All arithmetic is done in 64 bits, so any 32-bit values give an exact answer. An area without
// extent gives the area's top-left corner with an extent of 1 by 1.
WindowRect FitWindowRect(const WindowRect& saved, const WindowRect& area);

} // namespace yomi6
