#include "dictionary_manager/dictionary_table_model.h"

#include "dictionary_manager/dictionary_manager_strings.h"
#include "platform/cp932_field.h"

#include <algorithm>
#include <numeric>

namespace yomi6 {

DictionaryTableModel::DictionaryTableModel(DictionaryDocument& document, QObject* parent)
    : QAbstractTableModel(parent), m_document(document), m_words(kUserRows), m_yomis(kUserRows),
      m_order(kUserRows), m_rowOf(kUserRows) {
    for (int n = 0; n < kUserRows; ++n) {
        Decode(n);
    }
    std::iota(m_order.begin(), m_order.end(), 0);
    std::iota(m_rowOf.begin(), m_rowOf.end(), 0);
}

void DictionaryTableModel::SortBy(Column column, Qt::SortOrder order) {
    beginResetModel();
    std::iota(m_order.begin(), m_order.end(), 0);
    if (column == WordColumn || column == YomiColumn) {
        const std::vector<QString>& texts = column == WordColumn ? m_words : m_yomis;
        std::stable_sort(m_order.begin(), m_order.end(), [&](int a, int b) {
            return texts[Index(a)].compare(texts[Index(b)]) < 0;
        });
    }
    if (order == Qt::DescendingOrder) {
        std::reverse(m_order.begin(), m_order.end());
    }
    for (std::size_t row = 0; row < m_order.size(); ++row) {
        m_rowOf[Index(m_order[row])] = static_cast<int>(row);
    }
    endResetModel();
}

void DictionaryTableModel::Decode(int record) {
    const WordEntry entry = m_document.Entry(record);
    m_words[Index(record)] = Cp932Text(entry.word);
    m_yomis[Index(record)] = Cp932Text(entry.yomi);
}

int DictionaryTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kUserRows;
}

int DictionaryTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant DictionaryTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) {
        if (role == Qt::TextAlignmentRole && index.column() == NumberColumn) {
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        }
        return {};
    }
    switch (index.column()) {
    case NumberColumn:
        return RecordAt(index.row()) + 1; // record n is row n + 1, as in the registration dialog
    case WordColumn:
        return Word(RecordAt(index.row()));
    case YomiColumn:
        return Yomi(RecordAt(index.row()));
    default:
        return {};
    }
}

QVariant DictionaryTableModel::headerData(int section, Qt::Orientation orientation,
                                          int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    switch (section) {
    case NumberColumn:
        return QString::fromUtf8(manager_texts::kColumnNumber);
    case WordColumn:
        return QString::fromUtf8(manager_texts::kColumnWord);
    case YomiColumn:
        return QString::fromUtf8(manager_texts::kColumnYomi);
    default:
        return {};
    }
}

Qt::ItemFlags DictionaryTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() != NumberColumn) {
        f |= Qt::ItemIsEditable;
    }
    return f;
}

bool DictionaryTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.column() == NumberColumn ||
        !m_editHandler) {
        return false;
    }
    return m_editHandler(RecordAt(index.row()), static_cast<Column>(index.column()),
                         value.toString());
}

void DictionaryTableModel::SetRecords(const std::vector<std::pair<int, RecordBytes>>& records) {
    if (records.empty()) {
        return;
    }
    int first = kUserRows;
    int last = -1;
    for (const auto& [record, bytes] : records) {
        m_document.SetRecord(record, bytes);
        Decode(record);
        first = std::min(first, RowOf(record));
        last = std::max(last, RowOf(record));
    }
    emit dataChanged(index(first, WordColumn), index(last, YomiColumn));
}

void DictionaryTableModel::Reload() {
    beginResetModel();
    for (int n = 0; n < kUserRows; ++n) {
        Decode(n);
    }
    endResetModel();
}

} // namespace yomi6
