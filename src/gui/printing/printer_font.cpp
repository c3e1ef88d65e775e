#include "printing/printer_font.h"

#include <QGuiApplication>
#include <QPaintDevice>
#include <QScreen>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace yomi6 {

namespace {

constexpr int kFallbackDpi = 96;

int ScreenDpi(bool vertical) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return kFallbackDpi;
    }
    const int dpi =
        qRound(vertical ? screen->logicalDotsPerInchY() : screen->logicalDotsPerInchX());
    return dpi > 0 ? dpi : kFallbackDpi;
}

} // namespace

int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0) {
        return 0;
    }
    const std::int64_t product = static_cast<std::int64_t>(number) * numerator;
    const std::int64_t d = denominator;
    const std::int64_t half = std::llabs(d) / 2;
    const bool negative = (product < 0) != (d < 0);
    const std::int64_t magnitude = (std::llabs(product) + half) / std::llabs(d);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

int ScreenDpiX() {
    return ScreenDpi(false);
}
int ScreenDpiY() {
    return ScreenDpi(true);
}

FontDescription PrinterToScreenUnits(const FontDescription& record, const QPaintDevice& printer) {
    FontDescription r = record;
    r.height = MulDiv(record.height, ScreenDpiY(), printer.logicalDpiY());
    r.width = MulDiv(record.width, ScreenDpiX(), printer.logicalDpiX());
    return r;
}

FontDescription ScreenToPrinterUnits(const FontDescription& record, const QPaintDevice& printer) {
    FontDescription r = record;
    r.height = MulDiv(record.height, printer.logicalDpiY(), ScreenDpiY());
    r.width = MulDiv(record.width, printer.logicalDpiX(), ScreenDpiX());
    return r;
}

QFont ScreenFontForPrinter(const QFont& screenFont, const QPaintDevice& printer) {
    QFont font = screenFont;
    // A size in points is kept: it is the same physical size on every device.
    if (screenFont.pixelSize() > 0) {
        font.setPixelSize(
            std::max(1, MulDiv(screenFont.pixelSize(), printer.logicalDpiY(), ScreenDpiY())));
    }
    return font;
}

QFont BodyFontFor(const std::optional<QFont>& printerFont, const std::optional<QFont>& screenFont,
                  const QPaintDevice& printer) {
    if (printerFont) {
        return *printerFont;
    }
    return ScreenFontForPrinter(screenFont.value_or(QGuiApplication::font()), printer);
}

} // namespace yomi6
