#include "platform/spin_control.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace yomi6 {

namespace {

// The delay before a held arrow starts repeating, and the period of the repeat.
constexpr int kRepeatDelayMs = 400;
constexpr int kRepeatPeriodMs = 60;

} // namespace

SpinControl::SpinControl(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    m_repeat.setSingleShot(true);
    connect(&m_repeat, &QTimer::timeout, this, &SpinControl::Repeat);
}

QRect SpinControl::ArrowRect(int step) const {
    const int half = height() / 2;
    return step == kUpperStep ? QRect(0, 0, width(), half)
                              : QRect(0, half, width(), height() - half);
}

void SpinControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (const int step : {kUpperStep, kLowerStep}) {
        QStyleOptionButton button;
        button.initFrom(this);
        button.rect = ArrowRect(step);
        button.state |= step == m_pressedStep ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &button, &painter, this);
        QStyleOption arrow;
        arrow.initFrom(this);
        arrow.rect = button.rect.adjusted(1, 1, -1, -1);
        style()->drawPrimitive(step == kUpperStep ? QStyle::PE_IndicatorArrowUp
                                                  : QStyle::PE_IndicatorArrowDown,
                               &arrow, &painter, this);
    }
}

void SpinControl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_pressedStep =
        ArrowRect(kUpperStep).contains(event->position().toPoint()) ? kUpperStep : kLowerStep;
    update();
    const int step = m_pressedStep;
    // The receiver may open a message box; the repeat starts only once it has returned.
    emit deltaPos(step);
    if (m_pressedStep == step) {
        m_repeat.start(kRepeatDelayMs);
    }
}

void SpinControl::mouseReleaseEvent(QMouseEvent*) {
    Release();
}

void SpinControl::Repeat() {
    // A button released while a message box had the mouse ends the repeat here.
    if (m_pressedStep == 0 || !(QGuiApplication::mouseButtons() & Qt::LeftButton) ||
        !underMouse()) {
        Release();
        return;
    }
    const int step = m_pressedStep;
    emit deltaPos(step);
    if (m_pressedStep == step) {
        m_repeat.start(kRepeatPeriodMs);
    }
}

void SpinControl::Release() {
    m_repeat.stop();
    if (m_pressedStep != 0) {
        m_pressedStep = 0;
        update();
    }
}

} // namespace yomi6
