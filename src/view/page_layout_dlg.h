// The page layout dialog: three ON/OFF pairs for the document title, the date and time, and the
// page number on printed pages. The caller fills the switches, runs DoModal and, on OK, copies
// them back.
#pragma once

#include <QDialog>

class QButtonGroup;

namespace yomi6 {

class CPageLayoutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CPageLayoutDlg(QWidget* parent = nullptr);

    // OnInitDialog, then the dialog runs modally. QDialog::Accepted on OK.
    int DoModal();

    // Radio indexes: 0 ON, 1 OFF; -1 until the dialog starts.
    int m_nFileName = -1;
    int m_nDate = -1;
    int m_nPage = -1;
    // The switches passed in and out (nonzero: printed).
    int m_bFileName = 0;
    int m_bDate = 0;
    int m_bPage = 0;

    // The radio pair of a group (0 file name, 1 date, 2 page), for tests.
    QButtonGroup* Pair(int group) const { return m_pairs[group]; }

    void accept() override { OnOK(); }

protected:
    void OnInitDialog();
    // true: controls into fields; false: fields into controls.
    void DoDataExchange(bool saveAndValidate);
    void OnOK();

private:
    QButtonGroup* m_pairs[3] = {};
};

} // namespace yomi6
