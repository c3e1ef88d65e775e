// The page layout dialog: three ON/OFF pairs for the document title, the date and time, and the
// page number on printed pages. The caller fills the switches, runs exec and, on OK, copies
// them back.
#pragma once

#include <QDialog>

class QButtonGroup;

namespace yomi6 {

class PageLayoutDialog : public QDialog {
    Q_OBJECT
public:
    explicit PageLayoutDialog(QWidget* parent = nullptr);

    // InitializeControls, then the dialog runs modally. QDialog::Accepted on OK.
    int exec() override;

    // Radio indexes: 0 ON, 1 OFF; -1 until the dialog starts.
    int fileNameChoice = -1;
    int dateChoice = -1;
    int pageChoice = -1;
    // The switches passed in and out (nonzero: printed).
    int printFileName = 0;
    int printDate = 0;
    int printPage = 0;

    // The radio pair of a group (0 file name, 1 date, 2 page), for tests.
    QButtonGroup* Pair(int group) const { return m_pairs[group]; }

    void accept() override { ConfirmEntries(); }

protected:
    void InitializeControls();
    // true: controls into fields; false: fields into controls.
    void TransferData(bool saveAndValidate);
    void ConfirmEntries();

private:
    QButtonGroup* m_pairs[3] = {};
};

} // namespace yomi6
