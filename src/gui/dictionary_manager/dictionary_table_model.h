// The rows of the dictionary manager: one table row per record of the dictionary document
// (9999), with its number, word and reading. Edits are handed to the window, which checks them
// and makes them undoable; the model only shows what the document holds.
#pragma once

#include "dictionary/dic_document.h"

#include <QAbstractTableModel>
#include <QString>

#include <functional>
#include <utility>
#include <vector>

namespace yomi6 {

class DictionaryTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { NumberColumn, WordColumn, YomiColumn, ColumnCount };

    // Asked to store text typed into the word or reading cell of a record; true when stored.
    using EditHandler = std::function<bool(int record, Column column, const QString& text)>;

    DictionaryTableModel(DictionaryDocument& document, QObject* parent);

    void SetEditHandler(EditHandler handler) { m_editHandler = std::move(handler); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // The texts of a record as shown (kept decoded, so that filtering never decodes).
    const QString& Word(int record) const { return m_words[Index(record)]; }
    const QString& Yomi(int record) const { return m_yomis[Index(record)]; }

    // The rows stand in the order of a column: the record of a row, and the row of a record.
    int RecordAt(int row) const { return m_order[Index(row)]; }
    int RowOf(int record) const { return m_rowOf[Index(record)]; }
    // Puts the rows in the order of column's texts (free rows as empty text; equal texts in
    // record order), or of the record numbers. Rows do not move when they are edited later.
    void SortBy(Column column, Qt::SortOrder order);

    // Puts records into the document and shows them.
    void SetRecords(const std::vector<std::pair<int, RecordBytes>>& records);
    // The document was replaced as a whole (loaded, merged, saved).
    void Reload();

private:
    static std::size_t Index(int record) { return static_cast<std::size_t>(record); }
    void Decode(int record);

    DictionaryDocument& m_document;
    std::vector<QString> m_words;
    std::vector<QString> m_yomis;
    std::vector<int> m_order; // row → record
    std::vector<int> m_rowOf; // record → row
    EditHandler m_editHandler;
};

} // namespace yomi6
