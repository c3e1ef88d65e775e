// The find and replace dialogs of a text view: modeless, one of each per main window.
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace yomi6 {

struct SearchOptions {
    QString text;
    bool matchCase = false;
    bool wholeWord = false;
    bool backward = false;
};

class FindReplaceDialog : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Find, Replace };

    explicit FindReplaceDialog(Mode mode, QWidget* parent = nullptr);

    Mode mode() const { return m_mode; }
    SearchOptions Options() const;
    QString Replacement() const;
    // Puts text into the search field (the view's selection when the dialog is opened).
    void SetSearchText(const QString& text);

signals:
    void findNext(const yomi6::SearchOptions& options);
    void replaceOne(const yomi6::SearchOptions& options, const QString& replacement);
    void replaceAll(const yomi6::SearchOptions& options, const QString& replacement);

private:
    void UpdateButtons();

    Mode m_mode;
    QLineEdit* m_find = nullptr;
    QLineEdit* m_replace = nullptr;
    QCheckBox* m_wholeWord = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QRadioButton* m_up = nullptr;
    QPushButton* m_findNext = nullptr;
    QPushButton* m_replaceButton = nullptr;
    QPushButton* m_replaceAllButton = nullptr;
};

} // namespace yomi6
