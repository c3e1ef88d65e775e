// The dictionary manager's word lists: reading one into the rows and writing the rows out.
#include "dictionary/word_list_import.h"
#include "dictionary_manager/dictionary_manager.h"
#include "dictionary_manager/dictionary_manager_strings.h"
#include "io/app_strings.h"
#include "io/atomic_file.h"
#include "platform/cp932_field.h"
#include "platform/message_box.h"
#include "platform/ui_text.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>

namespace yomi6 {

namespace {

namespace texts = manager_texts;

// The largest word list read: far more than 9999 lines of any sensible length.
constexpr std::size_t kMaxWordListBytes = std::size_t{64} << 20;
constexpr int kListedSkips = 20;

struct ExportFormat {
    const char* filter;
    WordListSeparator separator;
    WordListEncoding encoding;
};

constexpr ExportFormat kExportFormats[] = {
    {texts::kCsvUtf8Filter, WordListSeparator::Comma, WordListEncoding::Utf8},
    {texts::kCsvUtf8BomFilter, WordListSeparator::Comma, WordListEncoding::Utf8WithBom},
    {texts::kCsvSjisFilter, WordListSeparator::Comma, WordListEncoding::ShiftJis},
    {texts::kTsvUtf8Filter, WordListSeparator::Tab, WordListEncoding::Utf8},
    {texts::kTsvSjisFilter, WordListSeparator::Tab, WordListEncoding::ShiftJis},
};

// Asks what to do with words the dictionary has with another reading; none: cancelled.
std::optional<DuplicateChoice> AskAboutDuplicates(QWidget* parent,
                                                  const std::vector<ImportDuplicate>& duplicates) {
    QStringList listed;
    for (std::size_t i = 0;
         i < duplicates.size() && i < static_cast<std::size_t>(texts::kListedDuplicates); ++i) {
        const ImportDuplicate& d = duplicates[i];
        listed << Tr(texts::kDuplicateLine)
                      .arg(d.line)
                      .arg(Cp932Text(d.word), Cp932Text(d.oldYomi), Cp932Text(d.newYomi));
    }
    if (duplicates.size() > static_cast<std::size_t>(texts::kListedDuplicates)) {
        listed << QStringLiteral("…");
    }
    QMessageBox box(
        QMessageBox::Question, Tr(strings::kAppName),
        Tr(texts::kDuplicates).arg(duplicates.size()).arg(listed.join(QLatin1Char('\n'))),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.button(QMessageBox::Yes)->setText(Tr(texts::kKeepExisting));
    box.button(QMessageBox::No)->setText(Tr(texts::kReplaceExisting));
    switch (box.exec()) {
    case QMessageBox::Yes:
        return DuplicateChoice::Keep;
    case QMessageBox::No:
        return DuplicateChoice::Replace;
    default:
        return std::nullopt;
    }
}

} // namespace

bool DictionaryManager::ImportFile(const QString& path, WordListSeparator separator) {
    std::string bytes;
    if (ReadWholeFile(path.toStdString(), kMaxWordListBytes, bytes) != ReadStatus::Read) {
        ShowMessage(this, Tr(texts::kCannotReadList).arg(path), MessageBoxType::IconStop);
        return false;
    }
    const ParsedWordList list = ParseWordList(bytes, separator);
    ImportOutcome outcome = PlanImport(m_document.Image(), list.rows, DuplicateChoice::Keep);
    DuplicateChoice choice = DuplicateChoice::Keep;
    if (!outcome.duplicates.empty()) {
        const auto chosen = AskAboutDuplicates(this, outcome.duplicates);
        if (!chosen) {
            return true;
        }
        choice = *chosen;
        if (choice == DuplicateChoice::Replace) {
            outcome = PlanImport(m_document.Image(), list.rows, choice);
        }
    }

    // Each change's "before" is the record as the changes ahead of it left it.
    std::vector<DictionaryRecordsCommand::Change> changes;
    std::vector<std::pair<int, RecordBytes>> current;
    for (const RecordChange& c : outcome.changes) {
        RecordBytes before = m_document.Record(c.record);
        for (const auto& [record, bytesNow] : current) {
            if (record == c.record) {
                before = bytesNow;
            }
        }
        changes.push_back({c.record, before, c.after});
        current.emplace_back(c.record, c.after);
    }
    Push(std::move(changes), texts::kImportStep);

    QStringList report;
    report << Tr(texts::kImportReport).arg(outcome.added).arg(outcome.replaced);
    if (outcome.unchanged > 0) {
        report << Tr(texts::kImportUnchanged).arg(outcome.unchanged);
    }
    if (choice == DuplicateChoice::Keep && !outcome.duplicates.empty()) {
        report << Tr(texts::kImportKept).arg(outcome.duplicates.size());
    }
    if (outcome.leftOut > 0) {
        report << Tr(texts::kImportLeftOut).arg(kUserRows).arg(outcome.leftOut);
    }
    QStringList skipped;
    for (const WordListSkip& s : list.skipped) {
        skipped << Tr(texts::kImportSkippedLine)
                       .arg(s.line)
                       .arg(Utf8(DescribeWordListProblem(s.problem)), Utf8(s.text));
    }
    if (!skipped.isEmpty()) {
        report << Tr(texts::kImportSkipped).arg(skipped.size());
        report << skipped.mid(0, kListedSkips);
        if (skipped.size() > kListedSkips) {
            report << QStringLiteral("…");
        }
    }
    QMessageBox box(skipped.isEmpty() && outcome.leftOut == 0 ? QMessageBox::Information
                                                              : QMessageBox::Warning,
                    Tr(strings::kAppName), report.join(QLatin1Char('\n')), QMessageBox::Ok, this);
    if (!skipped.isEmpty()) {
        box.setDetailedText(skipped.join(QLatin1Char('\n')));
    }
    box.exec();
    return true;
}

bool DictionaryManager::ExportFile(const QString& path, WordListSeparator separator,
                                   WordListEncoding encoding) {
    const std::vector<WordEntry> entries = UsedEntries(m_document.Image());
    std::string error;
    if (!WriteFileAtomically(path.toStdString(), WriteWordList(entries, separator, encoding), error,
                             MissingDirectories::Fail)) {
        ShowMessage(this, Tr(texts::kCannotWriteList).arg(path), MessageBoxType::IconStop);
        return false;
    }
    m_notice->setText(Tr(texts::kExportReport).arg(entries.size()));
    return true;
}

void DictionaryManager::ChooseImport() {
    QString filter;
    const QString path = QFileDialog::getOpenFileName(
        this, Tr(texts::kImportCaption), QString(),
        Tr(texts::kCsvFilter) + QStringLiteral(";;") + Tr(texts::kTsvFilter), &filter);
    if (path.isEmpty()) {
        return;
    }
    const bool tabs =
        filter == Tr(texts::kTsvFilter) ||
        QFileInfo(path).suffix().compare(QStringLiteral("tsv"), Qt::CaseInsensitive) == 0;
    ImportFile(path, tabs ? WordListSeparator::Tab : WordListSeparator::Comma);
}

void DictionaryManager::ChooseExport() {
    QStringList filters;
    for (const ExportFormat& f : kExportFormats) {
        filters << Tr(f.filter);
    }
    QString filter = filters.front();
    QString path = QFileDialog::getSaveFileName(this, Tr(texts::kExportCaption), QString(),
                                                filters.join(QStringLiteral(";;")), &filter);
    if (path.isEmpty()) {
        return;
    }
    const ExportFormat* format = &kExportFormats[0];
    for (const ExportFormat& f : kExportFormats) {
        if (Tr(f.filter) == filter) {
            format = &f;
        }
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += format->separator == WordListSeparator::Tab ? QStringLiteral(".tsv")
                                                            : QStringLiteral(".csv");
    }
    ExportFile(path, format->separator, format->encoding);
}

} // namespace yomi6
