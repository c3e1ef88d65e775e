// Driving modal dialogs in Qt Test: message boxes answered and recorded as they come, a
// dialog's steps run once it is shown (and the dialog closed after them whatever they did),
// typing as a user or an input method does, and points on a scroll bar.
#pragma once

#include "gui/gui_test_support.h"

#include <QMessageBox>
#include <QPoint>
#include <QString>
#include <QStyle>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

class QDialog;
class QScrollBar;
class QWidget;

namespace yomi6 {
class MainWindow;
class Application;
class TextView;
} // namespace yomi6

namespace yomi6::test {

// Answers every message box with OK while it lives, recording its text and icon.
class BoxAnswerer {
public:
    struct Box {
        QString text;
        QMessageBox::Icon icon;
    };

    BoxAnswerer();
    const std::vector<Box>& boxes() const { return m_boxes; }
    // The texts answered so far, in order.
    QStringList texts() const;
    void clear() { m_boxes.clear(); }

private:
    QTimer m_timer;
    std::vector<Box> m_boxes;
};

// Runs steps once dialog is the active modal window, then closes the dialog (reject) if the
// steps left it open, so that a failing step never blocks the test.
class DialogSteps {
public:
    DialogSteps(QDialog* dialog, std::function<void()> steps);
    bool ran() const { return m_ran; }

private:
    QTimer m_timer;
    bool m_ran = false;
};

// The whole text committed at once by an input method.
void Commit(QWidget* widget, const QString& text);

// The centre of a part of a scroll bar (an arrow, the thumb, the page areas).
QPoint ScrollBarPoint(const QScrollBar* bar, QStyle::SubControl part);

} // namespace yomi6::test
