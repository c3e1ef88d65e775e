// An up-down control: two stacked arrows that report steps and keep no value of their own. A
// press on the upper arrow reports -1, on the lower arrow +1 (the steps of a control whose range
// runs from 100 down to 0); holding the button repeats the step.
#pragma once

#include <QTimer>
#include <QWidget>

namespace yomi6 {

class SpinControl : public QWidget {
    Q_OBJECT
public:
    explicit SpinControl(QWidget* parent = nullptr);

    static constexpr int kUpperStep = -1;
    static constexpr int kLowerStep = 1;

signals:
    // One step of the arrow under the mouse.
    void deltaPos(int delta);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Repeat();
    void Release();
    QRect ArrowRect(int step) const;

    QTimer m_repeat;
    int m_pressedStep = 0; // the arrow held down, 0 for none
};

} // namespace yomi6
