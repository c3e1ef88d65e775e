// Filtering and sorting the dictionary manager's rows: the records that hold something, and
// the first empty one to add to (the other empty records of the 9999 are not shown); with a
// filter, a row stays when its word or its reading holds the filter text (a reading typed in
// hiragana or katakana also finds its half-width form). One record can be pinned so that a row
// being added stays in sight.
#pragma once

#include <QSortFilterProxyModel>
#include <QString>

namespace yomi6 {

class DictionaryTableModel;

class DictionaryFilterProxy : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit DictionaryFilterProxy(DictionaryTableModel* source, QObject* parent);

    void SetFilterText(const QString& text);
    const QString& FilterText() const { return m_text; }
    // The record that passes whatever the filter (-1: none).
    void SetPinnedRecord(int record);
    // The empty record shown to add to (-1: the dictionary is full).
    int FreeRecordShown() const { return m_firstFree; }

    // Sorting is the source model's: see DictionaryTableModel::SortBy.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    void Refilter();
    // Finds the first empty record again after the rows changed; refilters when it moved.
    void UpdateFirstFree();
    bool IsEmptyRecord(int record) const;

    DictionaryTableModel* m_source;
    QString m_text;
    QString m_halfWidthText;
    int m_pinned = -1;
    int m_firstFree = -1;
};

} // namespace yomi6
