// The page layout dialog: three ON/OFF pairs for the document title, the date and time, and the
// page number on printed pages. It is made with the switches to show, and Switches() hands them
// out: changed only once OK has accepted them.
#pragma once

#include "printing/page_printer.h"

#include <QDialog>

class QButtonGroup;

namespace yomi6 {

class PageLayoutDialog : public QDialog {
    Q_OBJECT
public:
    explicit PageLayoutDialog(const PageSwitches& switches = {}, QWidget* parent = nullptr);

    // Shows the switches it was made with (or last accepted), then runs modally.
    // QDialog::Accepted on OK.
    int exec() override;

    // The switches it was made with, or those the user accepted with OK.
    const PageSwitches& Switches() const { return m_switches; }

    // The radio pair of a group (0 file name, 1 date, 2 page), for tests: 0 ON, 1 OFF.
    QButtonGroup* Pair(int group) const { return m_pairs[group]; }

    void accept() override;

private:
    PageSwitches m_switches;
    QButtonGroup* m_pairs[3] = {};
};

} // namespace yomi6
