// The printer setup command of the run's printer (AppContext::Printer).
#pragma once

class QPrinter;
class QWidget;

namespace yomi6 {

// The printer setup command: paper, orientation and margins of printer.
void RunPrinterSetup(QPrinter& printer, QWidget* parent);

} // namespace yomi6
