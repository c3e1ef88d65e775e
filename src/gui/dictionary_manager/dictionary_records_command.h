// One undoable change of the dictionary manager: some records set to new bytes (an edit, an
// added or deleted row, an import, a registered selection).
#pragma once

#include "dictionary/dic_records.h"

#include <QUndoCommand>

#include <vector>

namespace yomi6 {

class DictionaryTableModel;

class DictionaryRecordsCommand : public QUndoCommand {
public:
    struct Change {
        int record;
        RecordBytes before;
        RecordBytes after;
    };

    DictionaryRecordsCommand(DictionaryTableModel& model, std::vector<Change> changes,
                             const QString& text);
    void redo() override;
    void undo() override;

private:
    DictionaryTableModel& m_model;
    std::vector<Change> m_changes;
};

} // namespace yomi6
