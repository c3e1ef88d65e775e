#include "view/app_printer.h"

#include <QPageSetupDialog>
#include <QPrinter>

namespace yomi6 {

void OnFilePrintSetup(QPrinter& printer, QWidget* parent) {
    QPageSetupDialog dialog(&printer, parent);
    dialog.exec();
}

} // namespace yomi6
