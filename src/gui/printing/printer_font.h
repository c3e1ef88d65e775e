// Fonts on the printer. The printer font record keeps its height and width in the printer's
// device units (a font chosen on a 600-dpi printer has twice the height of the same point size
// chosen on a 300-dpi one); the font dialog works in screen units, so the record is converted
// with the two devices' resolutions on its way in and out.
#pragma once

#include "settings/font_description.h"

#include <QFont>

#include <optional>

class QPaintDevice;

namespace yomi6 {

// number * numerator / denominator rounded to the nearest integer, halves away from zero, as
// the platform's integer scaling does; 0 when denominator is 0.
int MulDiv(int number, int numerator, int denominator);

// The screen's logical resolution in dots per inch, which font pixel sizes on screen use.
int ScreenDpiX();
int ScreenDpiY();

// The record's height and width from printer units to screen units, and back.
FontDescription PrinterToScreenUnits(const FontDescription& record, const QPaintDevice& printer);
FontDescription ScreenToPrinterUnits(const FontDescription& record, const QPaintDevice& printer);

// A screen font at the same physical size on the printer.
QFont ScreenFontForPrinter(const QFont& screenFont, const QPaintDevice& printer);

// The font the body text is printed in: the printer font (its pixel size already in printer
// units), else the screen font scaled to the printer, else the default font.
QFont BodyFontFor(const std::optional<QFont>& printerFont, const std::optional<QFont>& screenFont,
                  const QPaintDevice& printer);

} // namespace yomi6
