#include "dictionary_manager/word_dialog.h"

#include "dictionary/record_cleaning.h"
#include "dictionary_manager/dictionary_manager_strings.h"

#include "platform/cp932_field.h"
#include "platform/dialog_builder.h"
#include "platform/message_box.h"
#include "text/cp932_codec.h"

#include <QCoreApplication>
#include <QFont>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>

namespace yomi6 {

namespace {

namespace ids = word_dialog_ids;

// The field's bytes; a character the code page cannot hold (which the boxes refuse as it is
// typed) becomes a blank, which the cleaning removes.
std::string FieldBytes(const QString& text) {
    if (auto bytes = Cp932Bytes(text)) {
        return std::move(*bytes);
    }
    const std::u16string_view units(reinterpret_cast<const char16_t*>(text.utf16()),
                                    static_cast<std::size_t>(text.size()));
    return EncodeCp932(units, EncodeOptions{LineEnd::Lf, OnUnencodable::Replace}).bytes;
}

// The row numbers are right-aligned with blanks, which needs a face whose blanks are as wide
// as its digits.
QFont NumberFont(const QFont& dialogFont) {
    QFont font = dialogFont;
    font.setFamilies({QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("Monospace")});
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    return font;
}

} // namespace

WordDialog::WordDialog(WordRegistration& registration, QWidget* parent)
    : QDialog(parent), m_registration(registration) {
    const DialogBuilder built(this, kWordDialogTemplate);
    m_confirm = built.Button(ids::kConfirm);
    m_cancel = built.Button(ids::kCancel);
    m_scrollBar = built.ScrollBar(ids::kScrollBar);
    for (int r = 0; r < kRegistrationRows; ++r) {
        const std::size_t i = Index(r);
        m_numberEdits[i] = built.Edit(ids::kNumbers[i]);
        m_wordEdits[i] = built.Edit(ids::kWords[i]);
        m_yomiEdits[i] = built.Edit(ids::kYomis[i]);
        m_numberEdits[i]->setFont(NumberFont(font()));
        for (QLineEdit* edit : {m_numberEdits[i], m_wordEdits[i], m_yomiEdits[i]}) {
            edit->installEventFilter(this);
        }
        m_wordEdits[i]->setValidator(new ByteLimitValidator(kWordFieldMaxBytes, this));
        m_yomiEdits[i]->setValidator(new ByteLimitValidator(kYomiFieldMaxBytes, this));
    }
    // Neither button is the default: Enter confirms from the boxes (keyPressEvent).
    for (QPushButton* button : {m_confirm, m_cancel}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(m_confirm, &QPushButton::clicked, this, &WordDialog::ConfirmEntries);
    connect(m_cancel, &QPushButton::clicked, this, &WordDialog::CancelEntries);

    m_scrollBar->setSingleStep(1);
    m_scrollBar->setPageStep(kScrollPageRows);
    // While the thumb is dragged the rows stay; they follow when it is released.
    m_scrollBar->setTracking(false);
    connect(m_scrollBar, &QScrollBar::actionTriggered, this, &WordDialog::FollowScrollBar);
    connect(m_scrollBar, &QScrollBar::sliderMoved, this,
            [this](int position) { ScrollRows(ScrollCode::ThumbTrack, position); });
}

int WordDialog::exec() {
    if (!OpenRecords()) {
        return QDialog::Accepted;
    }
    return QDialog::exec();
}

bool WordDialog::OpenRecords() {
    // Not shown yet: the file's messages go over the window that opened the dialog.
    MessageBoxSink sink(parentWidget());
    if (!m_registration.Open(sink)) {
        return false;
    }
    m_scrollBar->setRange(0, kMaxTopRecord);
    m_scrollBar->setValue(0);
    FillRows(0);
    m_wordEdits[0]->setFocus(); // the first tab stop
    if (!m_offeredWord.isEmpty()) {
        ShowOfferedWord();
    }
    return true;
}

void WordDialog::OfferWord(const QString& word, const QString& yomi) {
    m_offeredWord = word;
    m_offeredYomi = yomi;
}

void WordDialog::ShowOfferedWord() {
    const std::optional<int> empty = m_registration.FirstEmptyRecord();
    if (!empty) {
        return; // every record is in use: the rows stay at the top
    }
    const int top = std::min(*empty, kMaxTopRecord);
    m_registration.Scroll(ScrollCode::ThumbPosition, top);
    m_scrollBar->setValue(top);
    FillRows(top);
    const std::size_t row = Index(*empty - top);
    m_wordEdits[row]->setText(m_offeredWord);
    m_yomiEdits[row]->setText(m_offeredYomi);
    m_wordEdits[row]->setFocus();
}

std::optional<RegistrationRows> WordDialog::CheckedRows() {
    RegistrationRows rows = TypedRows();
    if (const auto overlong = FindOverlongField(rows)) {
        RefuseField(*overlong);
        return std::nullopt;
    }
    for (int r = 0; r < kRegistrationRows; ++r) {
        if (BlankJoinsWords(rows[Index(r)].word)) {
            QLineEdit* edit = WordEdit(r);
            ShowMessage(this, QString::fromUtf8(manager_texts::kBlankInWord).arg(edit->text()),
                        MessageBoxType::IconExclamation);
            edit->setFocus();
            edit->selectAll();
            return std::nullopt;
        }
    }
    return rows;
}

RegistrationRows WordDialog::TypedRows() const {
    RegistrationRows rows;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].word = FieldBytes(m_wordEdits[i]->text());
        rows[i].yomi = FieldBytes(m_yomiEdits[i]->text());
    }
    return rows;
}

bool WordDialog::RefuseField(const OverlongField& field) {
    QLineEdit* edit =
        field.kind == OverlongField::Kind::Word ? WordEdit(field.row) : YomiEdit(field.row);
    ShowMessage(
        this,
        QString::fromUtf8(exchange_texts::kMaxChars).arg(static_cast<qulonglong>(field.limit)),
        MessageBoxType::IconExclamation);
    edit->setFocus();
    edit->selectAll();
    return false;
}

void WordDialog::FillRows(int top) {
    const RegistrationRows rows = m_registration.FillRows(top);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        m_numberEdits[i]->setText(Cp932Text(rows[i].number));
        m_wordEdits[i]->setText(Cp932Text(rows[i].word));
        m_yomiEdits[i]->setText(Cp932Text(rows[i].yomi));
    }
}

bool WordDialog::StoreRows(int top) {
    const std::optional<RegistrationRows> rows = CheckedRows();
    return rows && !m_registration.StoreRows(top, *rows);
}

void WordDialog::ScrollRows(ScrollCode code, int thumbPosition) {
    // Rows that cannot be stored are not scrolled away: they would be lost.
    if (StoreRows(m_registration.TopRecord())) {
        m_registration.Scroll(code, thumbPosition);
    }
    FillRows(m_registration.TopRecord());
}

void WordDialog::FollowScrollBar(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        ScrollRows(ScrollCode::LineUp, 0);
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        ScrollRows(ScrollCode::LineDown, 0);
        break;
    case QAbstractSlider::SliderPageStepSub:
        ScrollRows(ScrollCode::PageUp, 0);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        ScrollRows(ScrollCode::PageDown, 0);
        break;
    case QAbstractSlider::SliderToMinimum:
        ScrollRows(ScrollCode::Top, 0);
        break;
    case QAbstractSlider::SliderToMaximum:
        ScrollRows(ScrollCode::Bottom, 0);
        break;
    case QAbstractSlider::SliderMove:
        // The thumb released at a new place, or the wheel turned over the bar.
        ScrollRows(m_scrollBar->isSliderDown() ? ScrollCode::ThumbTrack : ScrollCode::ThumbPosition,
                   m_scrollBar->sliderPosition());
        break;
    default:
        return;
    }
    // The bar takes the position the rows show once this action ends.
    if (!m_scrollBar->isSliderDown()) {
        m_scrollBar->setSliderPosition(m_registration.TopRecord());
    }
}

void WordDialog::ConfirmEntries() {
    const std::optional<RegistrationRows> rows = CheckedRows();
    if (!rows) {
        return; // the dialog stays open and nothing is written
    }
    MessageBoxSink sink(this);
    if (const auto overlong = m_registration.Confirm(*rows, sink)) {
        RefuseField(*overlong);
        return;
    }
    QDialog::accept();
}

void WordDialog::CancelEntries() {
    m_registration.Cancel();
    QDialog::reject();
}

void WordDialog::keyPressEvent(QKeyEvent* event) {
    const bool plain = event->modifiers() == Qt::NoModifier ||
                       (event->modifiers() == Qt::KeypadModifier && event->key() == Qt::Key_Enter);
    if (plain) {
        switch (event->key()) {
        case Qt::Key_PageUp:
            m_scrollBar->triggerAction(QAbstractSlider::SliderPageStepSub);
            return;
        case Qt::Key_PageDown:
            m_scrollBar->triggerAction(QAbstractSlider::SliderPageStepAdd);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
                button->click();
            } else {
                ConfirmEntries();
            }
            return;
        default:
            break;
        }
    }
    QDialog::keyPressEvent(event);
}

bool WordDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel) {
        // Sent on, the event does not come back: Qt never propagates a wheel event it did not
        // receive from the window system.
        QCoreApplication::sendEvent(m_scrollBar, event);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void WordDialog::wheelEvent(QWheelEvent* event) {
    QCoreApplication::sendEvent(m_scrollBar, event);
    event->accept();
}

} // namespace yomi6
