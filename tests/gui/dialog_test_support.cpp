#include "gui/dialog_test_support.h"

#include "app/application.h"
#include "app/document_window.h"
#include "app/main_window.h"
#include "editor/document.h"
#include "editor/text_view.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QInputMethodEvent>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>

namespace yomi6::test {

BoxAnswerer::BoxAnswerer() {
    m_timer.setInterval(10);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            return;
        }
        m_boxes.push_back({box->text(), box->icon()});
        if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
            ok->click();
        } else {
            box->reject();
        }
    });
    m_timer.start();
}

QStringList BoxAnswerer::texts() const {
    QStringList texts;
    for (const Box& box : m_boxes) {
        texts << box.text;
    }
    return texts;
}

DialogSteps::DialogSteps(QDialog* dialog, std::function<void()> steps) {
    m_timer.setInterval(10);
    QObject::connect(&m_timer, &QTimer::timeout, [this, dialog, steps] {
        if (QApplication::activeModalWidget() != dialog) {
            return;
        }
        m_timer.stop();
        m_ran = true;
        steps();
        if (dialog->isVisible()) {
            dialog->reject();
        }
    });
    m_timer.start();
}

void Commit(QWidget* widget, const QString& text) {
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(widget, &commit);
}

QPoint ScrollBarPoint(const QScrollBar* bar, QStyle::SubControl part) {
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar->orientation();
    if (bar->orientation() == Qt::Horizontal) {
        option.state |= QStyle::State_Horizontal;
    }
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = bar->invertedAppearance();
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar).center();
}

} // namespace yomi6::test
