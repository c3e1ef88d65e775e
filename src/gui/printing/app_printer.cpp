#include "printing/app_printer.h"

#include <QPageSetupDialog>
#include <QPrinter>

namespace yomi6 {

void RunPrinterSetup(QPrinter& printer, QWidget* parent) {
    QPageSetupDialog dialog(&printer, parent);
    dialog.exec();
}

} // namespace yomi6
