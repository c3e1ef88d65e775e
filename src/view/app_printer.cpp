#include "view/app_printer.h"

#include <QCoreApplication>
#include <QPageSetupDialog>
#include <QPrinter>

namespace yomi6 {

namespace {

QPrinter* g_printer = nullptr;

// Runs when the application object is destroyed: the printer must not outlive it.
void DeletePrinter() {
    delete g_printer;
    g_printer = nullptr;
}

} // namespace

QPrinter& AppPrinter() {
    if (g_printer == nullptr) {
        g_printer = new QPrinter(QPrinter::HighResolution);
        qAddPostRoutine(DeletePrinter);
    }
    return *g_printer;
}

void OnFilePrintSetup(QWidget* parent) {
    QPageSetupDialog dialog(&AppPrinter(), parent);
    dialog.exec();
}

} // namespace yomi6
