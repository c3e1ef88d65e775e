#include "dictionary_manager/dictionary_manager.h"
#include "platform/ui_text.h"

#include "dictionary/dictionary.h"
#include "dictionary/record_cleaning.h"
#include "dictionary_manager/dictionary_filter_proxy.h"
#include "dictionary_manager/dictionary_manager_strings.h"
#include "io/app_strings.h"
#include "platform/cp932_field.h"
#include "platform/message_box.h"
#include "platform/speech_dialog_templates.h"
#include "reading/reading_conversion.h"
#include "speaking/app_context.h"
#include "speaking/reading_source.h"
#include "speaking/speech_controller.h"
#include "text/halfwidth_kana.h"
#include "text/speech_text.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace yomi6 {

namespace {

namespace texts = manager_texts;

std::u16string_view Units(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

// The reading a cell would store: kana made half-width, then as code page 932 bytes.
std::optional<std::string> YomiBytes(const QString& text) {
    return HalfWidthReadingBytes(Units(text));
}

// Keeps a reading cell within 20 bytes as it will be stored, that is once its kana are
// half-width (so "かんじ" typed through an input method counts as the four bytes of ｶﾝｼﾞ).
class YomiLimitValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        const auto bytes = YomiBytes(input);
        return bytes && bytes->size() <= kYomiFieldMaxBytes ? Acceptable : Invalid;
    }
};

// Cell editors limited like the registration dialog's boxes.
class FieldDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            if (index.column() == DictionaryTableModel::WordColumn) {
                line->setValidator(new ByteLimitValidator(kWordFieldMaxBytes, line));
            } else {
                line->setValidator(new YomiLimitValidator(line));
            }
        }
        return editor;
    }
};

constexpr const char* kObjectName = "dictionaryManager";

// The window's size when the screen has room for it.
constexpr QSize kPreferredSize(560, 600);
// Room left around the window for the window manager's frame and title, which are not known
// before the window is first shown.
constexpr int kFrameAllowance = 48;

qulonglong Count(std::size_t n) {
    return static_cast<qulonglong>(n);
}

QString WordTooLongText() {
    return Tr(texts::kWordTooLong)
        .arg(Count(kWordFieldMaxBytes / 2))
        .arg(Count(kWordFieldMaxBytes));
}

QString YomiTooLongText() {
    return Tr(texts::kYomiTooLong).arg(Count(kYomiFieldMaxBytes)).arg(Count(kYomiFieldMaxBytes));
}

} // namespace

DictionaryManager* DictionaryManager::Find(QWidget* frame) {
    return frame == nullptr ? nullptr
                            : frame->findChild<DictionaryManager*>(QString::fromLatin1(kObjectName),
                                                                   Qt::FindDirectChildrenOnly);
}

DictionaryManager* DictionaryManager::ShowFor(QWidget* frame, AppContext& context) {
    DictionaryManager* manager = Find(frame);
    if (manager == nullptr) {
        std::unique_ptr<DictionaryManager> created(new DictionaryManager(frame, context));
        MessageBoxSink sink(frame);
        if (!created->m_document.Load(context.UserDictionary().FileName(), sink)) {
            return nullptr;
        }
        created->m_model->Reload();
        created->UpdateCounts();
        manager = created.release();
        manager->PlaceOnScreen(frame);
    }
    manager->show();
    manager->raise();
    manager->activateWindow();
    return manager;
}

DictionaryManager::DictionaryManager(QWidget* frame, AppContext& context)
    : QWidget(frame, Qt::Window), m_context(context), m_provider(CurrentReadingProvider(context)),
      m_guessProvider(AutomaticReadingProvider(context)) {
    setObjectName(QString::fromLatin1(kObjectName));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(Tr(texts::kCaption));
    m_model = new DictionaryTableModel(m_document, this);
    m_model->SetEditHandler(
        [this](int record, DictionaryTableModel::Column column, const QString& text) {
            return StoreEdit(record, column, text);
        });
    m_proxy = new DictionaryFilterProxy(m_model, this);
    m_undo = new QUndoStack(this);
    BuildWindow();
    // Closing the editor's main window asks about unsaved rows here first.
    if (frame != nullptr) {
        frame->installEventFilter(this);
    }
}

DictionaryManager::~DictionaryManager() = default;

template <typename F> auto DictionaryManager::WithEditedRows(F f) {
    std::string cleaned(kDicImageSize, '\0');
    CleanDictionaryImage(m_document.Image(), reinterpret_cast<unsigned char*>(cleaned.data()));
    Dictionary& dictionary = m_context.UserDictionary();
    dictionary.RebuildUserRows(reinterpret_cast<const unsigned char*>(cleaned.data()));
    struct Restore {
        Dictionary& dictionary;
        ~Restore() { dictionary.RebuildUserRows(dictionary.Image()); }
    } restore{dictionary};
    return f();
}

void DictionaryManager::BuildWindow() {
    auto* layout = new QVBoxLayout(this);

    auto* filterRow = new QHBoxLayout;
    auto* filterLabel = new QLabel(Tr(texts::kFilterLabel), this);
    m_filter = new QLineEdit(this);
    m_filter->setPlaceholderText(Tr(texts::kFilterHint));
    m_filter->setClearButtonEnabled(true);
    filterLabel->setBuddy(m_filter);
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(m_filter, 1);
    m_counts = new QLabel(this);
    filterRow->addWidget(m_counts);
    layout->addLayout(filterRow);

    m_table = new QTableView(this);
    m_table->setModel(m_proxy);
    m_table->setItemDelegate(new FieldDelegate(m_table));
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(DictionaryTableModel::NumberColumn, Qt::AscendingOrder);
    m_table->verticalHeader()->hide();
    // Fixed row heights: the view never measures 9999 rows.
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setColumnWidth(DictionaryTableModel::NumberColumn,
                            m_table->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 8);
    m_table->setColumnWidth(DictionaryTableModel::WordColumn,
                            m_table->fontMetrics().horizontalAdvance(QString(8, QChar(0x6F22))));
    m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed);
    layout->addWidget(m_table, 1);
    m_limits = new QLabel(Tr(texts::kLimitsHint)
                              .arg(Count(kWordFieldMaxBytes / 2))
                              .arg(Count(kWordFieldMaxBytes))
                              .arg(Count(kYomiFieldMaxBytes))
                              .arg(Count(kYomiFieldMaxBytes)),
                          this);
    m_limits->setWordWrap(true);
    layout->addWidget(m_limits);

    auto* buttons = new QHBoxLayout;
    auto addButton = [&](const char* text, auto slot) {
        auto* b = new QPushButton(Tr(text), this);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        return b;
    };
    addButton(texts::kAdd, [this] { AddRow(); });
    addButton(texts::kDelete, [this] { DeleteSelectedRows(); });
    QPushButton* undo = addButton(texts::kUndo, [this] { m_undo->undo(); });
    QPushButton* redo = addButton(texts::kRedo, [this] { m_undo->redo(); });
    connect(m_undo, &QUndoStack::canUndoChanged, undo, &QPushButton::setEnabled);
    connect(m_undo, &QUndoStack::canRedoChanged, redo, &QPushButton::setEnabled);
    undo->setEnabled(false);
    redo->setEnabled(false);
    buttons->addStretch(1);
    addButton(texts::kImport, [this] { ChooseImport(); });
    addButton(texts::kExport, [this] { ChooseExport(); });
    addButton(texts::kSave, [this] { Save(); });
    addButton(texts::kClose, [this] { close(); });
    layout->addLayout(buttons);

    auto* tryRow = new QHBoxLayout;
    tryRow->addWidget(new QLabel(Tr(texts::kTryLabel), this));
    m_tryEdit = new QLineEdit(this);
    m_tryEdit->setPlaceholderText(Tr(texts::kTryHint));
    tryRow->addWidget(m_tryEdit, 1);
    m_listen = new QPushButton(Tr(texts::kListen), this);
    m_listen->setAutoDefault(false);
    tryRow->addWidget(m_listen);
    layout->addLayout(tryRow);
    m_reading = new QLabel(this);
    m_reading->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_reading);
    m_notice = new QLabel(this);
    m_notice->setWordWrap(true);
    layout->addWidget(m_notice);

    connect(m_filter, &QLineEdit::textChanged, m_proxy, &DictionaryFilterProxy::SetFilterText);
    connect(m_tryEdit, &QLineEdit::textChanged, this, &DictionaryManager::UpdateTryReading);
    connect(m_tryEdit, &QLineEdit::returnPressed, this, &DictionaryManager::Listen);
    connect(m_listen, &QPushButton::clicked, this, &DictionaryManager::Listen);
    connect(m_model, &QAbstractItemModel::dataChanged, this, [this] {
        UpdateCounts();
        UpdateTryReading();
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        UpdateCounts();
        UpdateTryReading();
    });

    // Keys of the window (the cell editors keep their own undo while they are open).
    auto shortcut = [this](const QList<QKeySequence>& keys, auto slot) {
        auto* action = new QAction(this);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
    };
    shortcut(QKeySequence::keyBindings(QKeySequence::Undo), [this] { m_undo->undo(); });
    // Ctrl+Y as well, whatever the platform's own redo keys are.
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    if (!redoKeys.contains(QKeySequence(Qt::CTRL | Qt::Key_Y))) {
        redoKeys << QKeySequence(Qt::CTRL | Qt::Key_Y);
    }
    shortcut(redoKeys, [this] { m_undo->redo(); });
    shortcut(QKeySequence::keyBindings(QKeySequence::Save), [this] { Save(); });
    shortcut(QKeySequence::keyBindings(QKeySequence::Find), [this] { m_filter->setFocus(); });
    auto* del = new QAction(m_table);
    del->setShortcut(QKeySequence::Delete);
    del->setShortcutContext(Qt::WidgetShortcut);
    connect(del, &QAction::triggered, this, &DictionaryManager::DeleteSelectedRows);
    m_table->addAction(del);

    resize(kPreferredSize.expandedTo(minimumSizeHint()));
}

void DictionaryManager::PlaceOnScreen(QWidget* frame) {
    QScreen* screen = frame != nullptr && frame->screen() != nullptr
                          ? frame->screen()
                          : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect room =
        screen->availableGeometry().adjusted(0, 0, -kFrameAllowance, -kFrameAllowance);
    const QSize fitted = size().boundedTo(room.size());
    resize(fitted);
    // Over the editor window it belongs to, as a dialog opens, and wholly on its screen.
    QRect placed(QPoint(), fitted);
    placed.moveCenter(frame != nullptr && frame->isVisible() ? frame->frameGeometry().center()
                                                             : room.center());
    placed.moveLeft(std::clamp(placed.left(), room.left(), room.right() - fitted.width() + 1));
    placed.moveTop(std::clamp(placed.top(), room.top(), room.bottom() - fitted.height() + 1));
    move(placed.topLeft());
}

QModelIndex DictionaryManager::IndexOf(int record, DictionaryTableModel::Column column) const {
    return m_proxy->mapFromSource(m_model->index(m_model->RowOf(record), column));
}

void DictionaryManager::UpdateCounts() {
    int used = 0;
    for (int n = 0; n < kUserRows; ++n) {
        used += !m_model->Word(n).isEmpty() && !m_model->Yomi(n).isEmpty() ? 1 : 0;
    }
    m_counts->setText(Tr(texts::kRows).arg(used).arg(kUserRows));
}

bool DictionaryManager::StoreEdit(int record, DictionaryTableModel::Column column,
                                  const QString& text) {
    const bool word = column == DictionaryTableModel::WordColumn;
    const std::optional<std::string> bytes = word ? Cp932Bytes(text) : YomiBytes(text);
    if (!bytes) {
        ShowMessage(this, Tr(texts::kNotInCodePage), MessageBoxType::IconExclamation);
        return false;
    }
    if (word && BlankJoinsWords(*bytes)) {
        ShowMessage(this, Tr(texts::kBlankInWord).arg(text), MessageBoxType::IconExclamation);
        return false;
    }
    const RecordBytes before = m_document.Record(record);
    const auto edited =
        EditedRecord(before, word ? OverlongField::Kind::Word : OverlongField::Kind::Yomi, *bytes);
    if (std::holds_alternative<OverlongField>(edited)) {
        ShowMessage(this, word ? WordTooLongText() : YomiTooLongText(),
                    MessageBoxType::IconExclamation);
        return false;
    }
    const RecordBytes& after = std::get<RecordBytes>(edited);
    if (after != before) {
        Push({{record, before, after}}, texts::kEditStep);
    }
    return true;
}

void DictionaryManager::Push(std::vector<DictionaryRecordsCommand::Change> changes,
                             const char* step) {
    if (!changes.empty()) {
        m_undo->push(new DictionaryRecordsCommand(*m_model, std::move(changes), Tr(step)));
    }
}

void DictionaryManager::FocusCell(int record, DictionaryTableModel::Column column, bool edit) {
    const QModelIndex index = IndexOf(record, column);
    if (!index.isValid()) {
        return;
    }
    m_table->setFocus();
    m_table->setCurrentIndex(index);
    m_table->scrollTo(index);
    if (edit) {
        m_table->edit(index);
    }
}

void DictionaryManager::AddRow() {
    const int record = m_document.FirstFreeRecord();
    if (record < 0) {
        ShowMessage(this, Tr(texts::kFull).arg(kUserRows), MessageBoxType::IconExclamation);
        return;
    }
    m_proxy->SetPinnedRecord(record);
    FocusCell(record, DictionaryTableModel::WordColumn, true);
}

void DictionaryManager::DeleteSelectedRows() {
    std::vector<int> records;
    for (const QModelIndex& index : m_table->selectionModel()->selectedIndexes()) {
        records.push_back(m_model->RecordAt(m_proxy->mapToSource(index).row()));
    }
    std::sort(records.begin(), records.end());
    records.erase(std::unique(records.begin(), records.end()), records.end());
    std::vector<DictionaryRecordsCommand::Change> changes;
    for (int record : records) {
        const RecordBytes before = m_document.Record(record);
        if (before != RecordBytes{}) {
            changes.push_back({record, before, RecordBytes{}});
        }
    }
    Push(std::move(changes), texts::kDeleteStep);
}

bool DictionaryManager::RegisterText(const QString& text) {
    QString word;
    for (QChar c : text) {
        if (!c.isSpace()) {
            word += c;
        }
    }
    if (word.isEmpty()) {
        return false;
    }
    if (const std::optional<std::string> typed = Cp932Bytes(text);
        typed && BlankJoinsWords(*typed)) {
        ShowMessage(this, Tr(texts::kBlankInWord).arg(text.trimmed()),
                    MessageBoxType::IconExclamation);
        return false;
    }
    const std::optional<std::string> bytes = Cp932Bytes(word);
    if (!bytes) {
        ShowMessage(this, Tr(texts::kNotInCodePage), MessageBoxType::IconExclamation);
        return false;
    }
    if (bytes->size() > kWordFieldMaxBytes) {
        ShowMessage(this, WordTooLongText(), MessageBoxType::IconExclamation);
        return false;
    }
    show();
    raise();
    activateWindow();
    for (int n = 0; n < kUserRows; ++n) {
        const WordEntry entry = m_document.Entry(n);
        if (!IsFreeEntry(entry) && entry.word == *bytes) {
            // Registered already: its reading is what may need correcting.
            m_proxy->SetPinnedRecord(n);
            FocusCell(n, DictionaryTableModel::YomiColumn, true);
            return true;
        }
    }
    const int record = m_document.FirstFreeRecord();
    if (record < 0) {
        ShowMessage(this, Tr(texts::kFull).arg(kUserRows), MessageBoxType::IconExclamation);
        return false;
    }
    const std::string reading =
        SpeakableReading(WithEditedRows([&] { return m_guessProvider(*bytes); }));
    const RecordBytes after = RecordOfEntry({*bytes, reading});
    Push({{record, m_document.Record(record), after}}, texts::kRegisterStep);
    m_proxy->SetPinnedRecord(record);
    FocusCell(record, DictionaryTableModel::YomiColumn, true);
    return true;
}

void DictionaryManager::UpdateTryReading() {
    if (m_tryEdit == nullptr || !m_provider) {
        return;
    }
    const QString text = m_tryEdit->text();
    if (text.isEmpty()) {
        m_reading->clear();
        return;
    }
    const std::string bytes = SpeechBytes(Units(text), kMaxTextBytes);
    m_reading->setText(Cp932Text(WithEditedRows([&] { return m_provider(bytes); })));
}

void DictionaryManager::Listen() {
    const QString text = m_tryEdit->text();
    if (text.isEmpty()) {
        return;
    }
    const SpeechSource source = SpeechSourceOf(Units(text), kMaxTextBytes);
    WithEditedRows([&] {
        m_context.Speech().Speak(this, source);
        return 0;
    });
}

bool DictionaryManager::IsModified() const {
    return !m_undo->isClean() || m_mergedUnsaved;
}

void DictionaryManager::ReloadFromDisk() {
    MessageBoxSink sink(this);
    if (!m_document.Load(m_document.Path(), sink)) {
        return;
    }
    m_model->Reload();
    m_undo->clear();
    m_mergedUnsaved = false;
    m_notice->clear();
}

bool DictionaryManager::MergeWithDisk() {
    MessageBoxSink sink(this);
    const std::optional<DictionaryMerge> merge = m_document.MergeWithDisk(sink);
    if (!merge) {
        return false;
    }
    m_model->Reload();
    // The steps before the merge would undo rows of the merged image: they go.
    m_undo->clear();
    m_mergedUnsaved = true;
    QStringList report;
    report << Tr(texts::kMergeReport).arg(merge->takenFromDisk);
    if (!merge->movedToRecord.empty()) {
        report << Tr(texts::kMergeMoved).arg(merge->movedToRecord.size());
    }
    if (merge->lost > 0) {
        report << Tr(texts::kMergeLost).arg(merge->lost);
    }
    if (!merge->movedToRecord.empty() || merge->lost > 0) {
        ShowMessage(this, report.join(QLatin1Char('\n')),
                    merge->lost > 0 ? MessageBoxType::IconExclamation : MessageBoxType::Ok);
    }
    m_notice->setText(report.join(QLatin1Char(' ')));
    return true;
}

bool DictionaryManager::Save() {
    const QModelIndex current = m_table->currentIndex();
    if (m_table->indexWidget(current) != nullptr) {
        // The open cell is part of what is saved: leaving it stores it, as a click elsewhere does.
        m_table->setCurrentIndex(QModelIndex());
        m_table->setCurrentIndex(current);
    }
    if (m_document.ChangedOnDisk()) {
        QMessageBox box(QMessageBox::Warning, Tr(strings::kAppName), Tr(texts::kChangedOnDisk),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
        box.button(QMessageBox::Yes)->setText(Tr(texts::kMerge));
        box.button(QMessageBox::No)->setText(Tr(texts::kReload));
        switch (box.exec()) {
        case QMessageBox::Yes:
            if (!MergeWithDisk()) {
                return false;
            }
            break;
        case QMessageBox::No:
            ReloadFromDisk();
            return false;
        default:
            return false;
        }
    }
    MessageBoxSink sink(this);
    if (!m_document.Save(sink)) {
        return false;
    }
    m_model->Reload();
    m_undo->setClean();
    m_mergedUnsaved = false;
    // The next speak command uses the words as the file now holds them.
    m_context.UserDictionary().Load(sink);
    return true;
}

void DictionaryManager::CheckDisk() {
    if (!m_document.ChangedOnDisk()) {
        return;
    }
    if (IsModified()) {
        m_notice->setText(Tr(texts::kChangedNotice));
        return;
    }
    ReloadFromDisk();
    m_notice->setText(Tr(texts::kReloadedNotice));
}

bool DictionaryManager::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        CheckDisk();
    }
    return QWidget::event(event);
}

bool DictionaryManager::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parent() && event->type() == QEvent::Close && IsModified()) {
        show();
        raise();
        if (!AskToSave()) {
            event->ignore();
            return true;
        }
        m_undo->clear(); // answered: the main window may close without asking again
        m_mergedUnsaved = false;
    }
    return QWidget::eventFilter(watched, event);
}

bool DictionaryManager::AskToSave() {
    const auto answer =
        QMessageBox::question(this, Tr(strings::kAppName), Tr(texts::kAskSave),
                              QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    return answer == QMessageBox::Discard || (answer == QMessageBox::Save && Save());
}

void DictionaryManager::closeEvent(QCloseEvent* event) {
    if (IsModified()) {
        if (!AskToSave()) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

} // namespace yomi6
