#include "dictionary_manager/dictionary_filter_proxy.h"

#include "dictionary_manager/dictionary_table_model.h"
#include "text/halfwidth_kana.h"

namespace yomi6 {

DictionaryFilterProxy::DictionaryFilterProxy(DictionaryTableModel* source, QObject* parent)
    : QSortFilterProxyModel(parent), m_source(source) {
    setSourceModel(source);
    // After the proxy's own handling of the change (which drops a row that became empty).
    connect(source, &QAbstractItemModel::dataChanged, this, [this] { UpdateFirstFree(); });
    connect(source, &QAbstractItemModel::modelReset, this, [this] { UpdateFirstFree(); });
    UpdateFirstFree();
}

bool DictionaryFilterProxy::IsEmptyRecord(int record) const {
    return m_source->Word(record).isEmpty() && m_source->Yomi(record).isEmpty();
}

void DictionaryFilterProxy::UpdateFirstFree() {
    int first = -1;
    for (int record = 0; record < m_source->rowCount(); ++record) {
        if (IsEmptyRecord(record)) {
            first = record;
            break;
        }
    }
    if (first != m_firstFree) {
        m_firstFree = first;
        Refilter();
    }
}

void DictionaryFilterProxy::SetFilterText(const QString& text) {
    if (text == m_text) {
        return;
    }
    m_text = text;
    const std::u16string half = ToHalfWidthKana(std::u16string_view(
        reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
    m_halfWidthText = QString::fromUtf16(half.data(), static_cast<qsizetype>(half.size()));
    Refilter();
}

void DictionaryFilterProxy::Refilter() {
    // The rows are mapped anew in one layout change. invalidateFilter() would report every run
    // of rows that leaves or comes back on its own, and a table of 9999 rows then spends a
    // frame's time many times over on the scattered runs a filter leaves.
    invalidate();
}

void DictionaryFilterProxy::SetPinnedRecord(int record) {
    if (record == m_pinned) {
        return;
    }
    m_pinned = record;
    Refilter();
}

bool DictionaryFilterProxy::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    const int record = m_source->RecordAt(sourceRow);
    if (record == m_pinned) {
        return true;
    }
    if (IsEmptyRecord(record)) {
        return m_text.isEmpty() && record == m_firstFree;
    }
    if (m_text.isEmpty()) {
        return true;
    }
    const QString& word = m_source->Word(record);
    const QString& yomi = m_source->Yomi(record);
    return word.contains(m_text, Qt::CaseInsensitive) ||
           yomi.contains(m_halfWidthText, Qt::CaseInsensitive) ||
           word.contains(m_halfWidthText, Qt::CaseInsensitive);
}

void DictionaryFilterProxy::sort(int column, Qt::SortOrder order) {
    // The source model puts its rows in order once; the proxy only filters, so a keystroke in
    // the filter never sorts 9999 rows again.
    m_source->SortBy(static_cast<DictionaryTableModel::Column>(column), order);
}

} // namespace yomi6
