// The application's printer: the one printer every print job, preview and the printer font
// command use, chosen and set up by the user during the run.
#pragma once

class QPrinter;
class QWidget;

namespace yomi6 {

// Created on first use at the printer's full resolution: the system's default printer, or PDF
// output when the system has none. It lives until the application object ends.
QPrinter& AppPrinter();

// The printer setup command: paper, orientation and margins of the application's printer.
void OnFilePrintSetup(QWidget* parent);

} // namespace yomi6
