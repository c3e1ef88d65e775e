// The word registration dialog "単語登録": five rows of number, word and reading over the user
// records of the dictionary file, a scroll bar through the 9999 records, confirm and cancel.
// The records, the file and the top record live in the WordRegistration the dialog is given,
// which outlives the dialog.
#pragma once

#include "dictionary/word_registration.h"

#include <QDialog>
#include <QString>

#include <array>
#include <optional>

class QLineEdit;
class QPushButton;
class QScrollBar;

namespace yomi6 {

class WordDialog : public QDialog {
    Q_OBJECT
public:
    explicit WordDialog(WordRegistration& registration, QWidget* parent = nullptr);

    // Opens the records and shows the top rows, then the dialog runs modally. When the file
    // cannot be opened or read, the dialog ends with QDialog::Accepted before it is shown (the
    // caller's reload then reports the file's state again). QDialog::Accepted after confirm,
    // QDialog::Rejected after cancel.
    int exec() override;

    // A word to offer: when the dialog opens, the rows show the first empty record with word and
    // reading typed into it (stored only on confirm, like anything typed).
    void OfferWord(const QString& word, const QString& yomi);

    // The controls, for tests; rows count from 0.
    QScrollBar* ScrollBar() const { return m_scrollBar; }
    QLineEdit* WordEdit(int row) const { return m_wordEdits[Index(row)]; }
    QLineEdit* YomiEdit(int row) const { return m_yomiEdits[Index(row)]; }
    QLineEdit* NumberEdit(int row) const { return m_numberEdits[Index(row)]; }
    QPushButton* ConfirmButton() const { return m_confirm; }
    QPushButton* CancelButton() const { return m_cancel; }

    // The confirm button and the Enter key; the cancel button, Escape and the close box.
    void accept() override { ConfirmEntries(); }
    void reject() override { CancelEntries(); }

protected:
    // Page Up and Page Down move the rows as the scroll bar does; Enter confirms unless a
    // button has the focus.
    void keyPressEvent(QKeyEvent* event) override;
    // The wheel anywhere over the dialog turns the scroll bar: over the boxes (which would
    // keep it) through this filter, elsewhere as it reaches the dialog.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // False when the dialog ended before it could be shown.
    bool OpenRecords();
    void ShowOfferedWord();
    // The records from top shown in the rows.
    void FillRows(int top);
    // The rows as they are typed, the lengths checked: std::nullopt when a field is too long
    // (it has had its message and the focus).
    std::optional<RegistrationRows> CheckedRows();
    bool StoreRows(int top);
    void ScrollRows(ScrollCode code, int thumbPosition);
    void ConfirmEntries();
    void CancelEntries();

    static std::size_t Index(int row) { return static_cast<std::size_t>(row); }
    RegistrationRows TypedRows() const;
    bool RefuseField(const OverlongField& field);
    void FollowScrollBar(int action);

    QString m_offeredWord;
    QString m_offeredYomi;
    WordRegistration& m_registration;
    QPushButton* m_confirm = nullptr;
    QPushButton* m_cancel = nullptr;
    QScrollBar* m_scrollBar = nullptr;
    std::array<QLineEdit*, kRegistrationRows> m_numberEdits{};
    std::array<QLineEdit*, kRegistrationRows> m_wordEdits{};
    std::array<QLineEdit*, kRegistrationRows> m_yomiEdits{};
};

} // namespace yomi6
