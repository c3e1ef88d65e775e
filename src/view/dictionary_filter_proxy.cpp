#include "view/dictionary_filter_proxy.h"

#include "dictionary/halfwidth_kana.h"
#include "view/dictionary_table_model.h"

namespace yomi6 {

DictionaryFilterProxy::DictionaryFilterProxy(DictionaryTableModel* source, QObject* parent)
    : QSortFilterProxyModel(parent), m_source(source) {
    setSourceModel(source);
}

void DictionaryFilterProxy::SetFilterText(const QString& text) {
    if (text == m_text) {
        return;
    }
    m_text = text;
    const std::u16string half = ToHalfWidthKana(std::u16string_view(
        reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
    m_halfWidthText = QString::fromUtf16(half.data(), static_cast<qsizetype>(half.size()));
    invalidateFilter();
}

void DictionaryFilterProxy::SetPinnedRecord(int record) {
    if (record == m_pinned) {
        return;
    }
    m_pinned = record;
    invalidateFilter();
}

bool DictionaryFilterProxy::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    if (m_text.isEmpty() || sourceRow == m_pinned) {
        return true;
    }
    const QString& word = m_source->Word(sourceRow);
    const QString& yomi = m_source->Yomi(sourceRow);
    return word.contains(m_text, Qt::CaseInsensitive) ||
           yomi.contains(m_halfWidthText, Qt::CaseInsensitive) ||
           word.contains(m_halfWidthText, Qt::CaseInsensitive);
}

bool DictionaryFilterProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const int column = left.column();
    if (column == DictionaryTableModel::NumberColumn) {
        return left.row() < right.row();
    }
    const QString& a = column == DictionaryTableModel::WordColumn ? m_source->Word(left.row())
                                                                  : m_source->Yomi(left.row());
    const QString& b = column == DictionaryTableModel::WordColumn ? m_source->Word(right.row())
                                                                  : m_source->Yomi(right.row());
    // Free rows sort as empty text; equal texts keep the record order.
    const int c = a.compare(b);
    return c != 0 ? c < 0 : left.row() < right.row();
}

} // namespace yomi6
