#include "dictionary_manager/dictionary_records_command.h"

#include "dictionary_manager/dictionary_table_model.h"

namespace yomi6 {

DictionaryRecordsCommand::DictionaryRecordsCommand(DictionaryTableModel& model,
                                                   std::vector<Change> changes, const QString& text)
    : QUndoCommand(text), m_model(model), m_changes(std::move(changes)) {}

void DictionaryRecordsCommand::redo() {
    std::vector<std::pair<int, RecordBytes>> records;
    records.reserve(m_changes.size());
    for (const Change& c : m_changes) {
        records.emplace_back(c.record, c.after);
    }
    m_model.SetRecords(records);
}

void DictionaryRecordsCommand::undo() {
    // Backwards, so that a record changed twice in one step gets its first state back.
    std::vector<std::pair<int, RecordBytes>> records;
    records.reserve(m_changes.size());
    for (auto it = m_changes.rbegin(); it != m_changes.rend(); ++it) {
        records.emplace_back(it->record, it->before);
    }
    m_model.SetRecords(records);
}

} // namespace yomi6
