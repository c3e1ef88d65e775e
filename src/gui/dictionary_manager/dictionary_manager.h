// The dictionary manager "辞書の管理": the records of the dictionary file that hold a word in
// one table (and an empty one to add to), with a filter, sorting, editing in place under the
// registration dialog's limits and cleaning, added and deleted rows, undo, word lists in and out, a
// field that shows and speaks the reading of a text, and saving that never drops rows another
// window saved meanwhile.
#pragma once

#include "dictionary/dic_document.h"
#include "dictionary/word_list.h"
#include "dictionary_manager/dictionary_records_command.h"
#include "dictionary_manager/dictionary_table_model.h"
#include "reading/reading_provider.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QUndoStack;

namespace yomi6 {

class AppContext;

class DictionaryFilterProxy;

class DictionaryManager : public QWidget {
    Q_OBJECT
public:
    // The manager of frame, created and loaded from the dictionary file when there is none, then
    // shown and raised. nullptr when the file cannot be read (the user was told why). Its
    // readings follow the reading mode of context, and it speaks through context's speech;
    // context must outlive the manager.
    static DictionaryManager* ShowFor(QWidget* frame, AppContext& context);
    // The manager of frame if one is open.
    static DictionaryManager* Find(QWidget* frame);

    ~DictionaryManager() override;

    // The selected text of an editor as a new row: blanks and line breaks removed, its reading
    // from the reading provider (only what a reading may hold, at most 20 bytes), the reading
    // cell open for correction. A word already registered is shown instead. False (the user
    // told why) when the text cannot be a word.
    bool RegisterText(const QString& text);

    // Brings a word list into the rows (asking about duplicates, reporting skipped lines).
    // False when the file could not be read.
    bool ImportFile(const QString& path, WordListSeparator separator);
    // Writes the rows that hold a word, in record order.
    bool ExportFile(const QString& path, WordListSeparator separator, WordListEncoding encoding);

    // Saves the rows (merging or reloading first when the file changed on disk, as the user
    // chooses). True when the file now holds the rows.
    bool Save();
    // Adds a row in the first free record and opens its word for editing.
    void AddRow();
    // Empties the records of the selected rows.
    void DeleteSelectedRows();

    // Edits not saved yet (undoable ones, or a merge with the disk).
    bool IsModified() const;

    // Parts, for tests.
    DictionaryDocument& Document() { return m_document; }
    DictionaryTableModel* Model() const { return m_model; }
    DictionaryFilterProxy* Proxy() const { return m_proxy; }
    QTableView* Table() const { return m_table; }
    QLineEdit* FilterEdit() const { return m_filter; }
    QLineEdit* TryEdit() const { return m_tryEdit; }
    QLabel* ReadingLabel() const { return m_reading; }
    QLabel* NoticeLabel() const { return m_notice; }
    QLabel* LimitsLabel() const { return m_limits; }
    QUndoStack* UndoStack() const { return m_undo; }
    QPushButton* ListenButton() const { return m_listen; }
    // The table index of a record's cell (invalid when the filter hides it).
    QModelIndex IndexOf(int record, DictionaryTableModel::Column column) const;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    DictionaryManager(QWidget* frame, AppContext& context);
    void BuildWindow();
    // Sizes the window to fit the frame's screen and places it over the frame, within reach.
    void PlaceOnScreen(QWidget* frame);
    bool StoreEdit(int record, DictionaryTableModel::Column column, const QString& text);
    void Push(std::vector<DictionaryRecordsCommand::Change> changes, const char* step);
    void FocusCell(int record, DictionaryTableModel::Column column, bool edit);
    void UpdateTryReading();
    void Listen();
    void CheckDisk();
    void ReloadFromDisk();
    bool MergeWithDisk();
    void ChooseImport();
    void ChooseExport();
    void UpdateCounts();
    // Save, discard or cancel: false when the user cancelled or the save failed.
    bool AskToSave();
    // The rows as edited here stand in the dictionary tables while f runs (the reading of
    // unsaved words can then be tried), and the loaded dictionary comes back after.
    template <typename F> auto WithEditedRows(F f);

    DictionaryDocument m_document;
    DictionaryTableModel* m_model = nullptr;
    DictionaryFilterProxy* m_proxy = nullptr;
    QTableView* m_table = nullptr;
    QLineEdit* m_filter = nullptr;
    QLineEdit* m_tryEdit = nullptr;
    QLabel* m_reading = nullptr;
    QLabel* m_notice = nullptr;
    QLabel* m_counts = nullptr;
    QLabel* m_limits = nullptr;
    QPushButton* m_listen = nullptr;
    QUndoStack* m_undo = nullptr;
    AppContext& m_context;
    ReadingProvider m_provider;
    ReadingProvider m_guessProvider; // the prefilled reading of a registered selection
    bool m_mergedUnsaved = false;
};

} // namespace yomi6
